// The grid decoder on any bytes. A file it accepts must serialise back to
// exactly the same bytes: the decoder and the writer share one layout.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "output/grid_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  const std::string_view bytes = fuzz::as_text(data, size);
  const auto table = decode_grid(bytes);
  if (table.ok() && serialise_grid(table.value()) != bytes) __builtin_trap();
  return 0;
}
