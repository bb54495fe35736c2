// The whole compile of a scenario from one input: a line description and a
// train description split at the first NUL byte, then the code-point pass,
// the stamps and the three serialisations, all in memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "output/check_codes.h"
#include "output/code_pass.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "route/line_compiler.h"
#include "service/train_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  const std::string_view input = fuzz::as_text(data, size);
  const std::size_t split = input.find('\0');
  const std::string_view line = input.substr(0, split);
  const std::string_view train =
      split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

  // The first byte chooses the plan flag, as in the line compiler's harness.
  run_state st = fuzz::fresh_state(size > 0 && (data[0] & 1) ? 1 : 0);
  if (compile_line(line, st) == compile_end::finished) compile_train(train, st);
  fuzz::check_invariants(st);
  if (st.percorso.empty()) return 0;
  code_point_pass(st);
  fuzz::check_invariants(st);
  if (!stamp_scenario(st).empty()) return 0;
  const std::size_t bytes = serialise_grid(st.percorso).size() +
                            serialise_stations(st.stazioni).size() +
                            serialise_plan(st.profilo).size();
  if (bytes == 0) __builtin_trap();
  return 0;
}
