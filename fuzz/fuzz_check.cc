// check's compile from one input: a line description and a train
// description split at the first NUL byte, compiled going on after every
// fault with the sources traced, then every diagnostic formatted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/diagnostic.h"
#include "fuzz_support.h"
#include "run/compile.h"
#include "run/diagnostics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  const std::string_view input = fuzz::as_text(data, size);
  const std::size_t split = input.find('\0');
  const std::string_view line = input.substr(0, split);
  const std::string_view train =
      split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

  compile_input in{
      "Corvale_Pianasco", "4816", size > 0 && (data[0] & 1) != 0, {"line", line}, {"train", train}};
  in.keep_going = true;
  in.trace_sources = true;
  const compile_result r = compile(in);
  fuzz::check_invariants(r.st);
  for (const diagnostic& d : check_diagnostics(r, line, train))
    if (format_diagnostic(d).empty()) __builtin_trap();
  return 0;
}
