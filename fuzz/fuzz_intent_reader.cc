// The reader of a set's replacement record on any bytes. A record it accepts
// names only plain names in its folder, and writes back to exactly the same
// bytes: the next process acts on nothing the program did not write.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "platform/set_intent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  const std::string_view bytes = fuzz::as_text(data, size);
  const auto intent = parse_intent(bytes);
  if (!intent) return 0;
  if (intent_text(*intent) != bytes || !is_process_mark(intent->mark)) __builtin_trap();
  for (const std::string& name : intent->names)
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos)
      __builtin_trap();
  return 0;
}
