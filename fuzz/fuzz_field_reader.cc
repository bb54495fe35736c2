// The field reader on any bytes: mixed text and number reads until the end.
#include <cstddef>
#include <cstdint>

#include "common/compile_failure.h"
#include "fuzz_support.h"
#include "sources/field_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  field_reader reader(fuzz::as_text(data, size));
  // The input's own bytes choose the kind of each read, so every path of the
  // reader meets every kind of text.
  std::size_t i = 0;
  try {
    while (!reader.at_end()) {
      switch (size == 0 ? 0 : data[i++ % size] % 4) {
        case 0:
          reader.read_text();
          break;
        case 1:
          reader.read_int32();
          break;
        case 2:
          reader.read_int16();
          break;
        default:
          reader.read_uint8();
          break;
      }
    }
  } catch (const compile_failure&) {
    // A failure is the reader's answer to bad text; only a crash is a finding.
  }
  return 0;
}
