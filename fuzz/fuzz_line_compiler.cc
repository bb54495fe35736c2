// The line compiler on any text, with and without the plan.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "route/line_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  // The first byte chooses the plan flag, so curves are read half the time.
  const std::int32_t scrivi_linea = size > 0 && (data[0] & 1) ? 1 : 0;
  run_state st = fuzz::fresh_state(scrivi_linea);
  compile_line(fuzz::as_text(data, size), st);
  fuzz::check_invariants(st);
  return 0;
}
