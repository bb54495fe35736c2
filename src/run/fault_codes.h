// The compile fault codes and what each means in plain words.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace scenario {

struct fault_code_info {
  std::int32_t code;
  std::string_view words;  // what is wrong, for a diagnostic line
  bool has_position;       // whether the fault records a position in metres
};

// Every code a compile or the code-point pass can record, in increasing order.
std::span<const fault_code_info> fault_codes();

// The entry of code, or nullptr for a number that is not a fault code.
const fault_code_info* find_fault_code(std::int32_t code);

// Codes this program adds for input that the original format leaves open.
inline constexpr std::int32_t k_fault_no_route_length = 104;
inline constexpr std::int32_t k_fault_too_many_boards = 105;
inline constexpr std::int32_t k_fault_too_many_sections = 106;
inline constexpr std::int32_t k_fault_gradient_range = 107;
inline constexpr std::int32_t k_fault_outside_grid = 108;

}  // namespace scenario
