// The whole compile of a scenario from one input: a line description and a
// train description split at the first NUL byte, through the one compile
// (both compilers, the code-point pass, the stamps), then the three
// serialisations, all in memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "model/plan_runs.h"
#include "output/plan_format.h"
#include "run/binary_files.h"
#include "run/compile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  const std::string_view input = fuzz::as_text(data, size);
  const std::size_t split = input.find('\0');
  const std::string_view line = input.substr(0, split);
  const std::string_view train =
      split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

  // The first byte chooses the plan flag, as in the line compiler's harness.
  const bool with_plan = size > 0 && (data[0] & 1);
  const compile_result r =
      compile({"Corvale_Pianasco", "4816", with_plan, {"line", line}, {"train", train}});
  fuzz::check_invariants(r.st);
  if (!r.has_grid() || !r.stamp_conflict.empty()) return 0;
  const binary_bytes bytes = serialise_binary_files(r.st);
  if (bytes.grid.empty() || bytes.stations.empty()) __builtin_trap();
  // The plan file written from the runs is the file of the table they give.
  if (with_plan && bytes.plan != serialise_plan(plan_table(r.st.profilo))) __builtin_trap();
  return 0;
}
