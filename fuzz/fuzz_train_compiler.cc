// The train compiler on any text, over the grid of the shipped line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "route/line_compiler.h"
#include "service/train_compiler.h"
#include "sources/line_content.h"
#include "sources/text_writer.h"

namespace {

// The shipped line compiled once, without its plan, which the train compiler
// never touches.
const scenario::run_state& shipped_line() {
  static const scenario::run_state st = [] {
    scenario::run_state s = scenario::fuzz::fresh_state(0);
    if (scenario::compile_line(scenario::render_lines(scenario::line_content()), s) !=
        scenario::compile_end::finished)
      std::abort();
    return s;
  }();
  return st;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  run_state st = shipped_line();
  compile_train(fuzz::as_text(data, size), st);
  fuzz::check_invariants(st);
  return 0;
}
