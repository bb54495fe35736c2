// Shared by the fuzz harnesses: running a compile on bytes from the fuzzer
// exactly as the run does, without touching the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/run_state.h"

namespace scenario::fuzz {

// The fuzzer's bytes as text.
inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A state ready for one compiler, with the names copied into records 85 and
// 86 as the compile does.
run_state fresh_state(std::int32_t scrivi_linea);

// Checks the invariants every compile must leave, whatever its input: the
// grid and the plan keep their sizes, every fault code is a known one, the
// board slot stays inside the table. Aborts on a broken one.
void check_invariants(const run_state& st);

}  // namespace scenario::fuzz
