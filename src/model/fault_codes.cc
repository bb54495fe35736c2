#include "model/fault_codes.h"

#include <algorithm>
#include <array>

namespace scenario {
namespace {

#define SCENARIO_FAULT_INFO(name, code, words, has_position) {code, words, has_position},
constexpr fault_code_info k_codes[] = {SCENARIO_FAULT_CODES(SCENARIO_FAULT_INFO)};
#undef SCENARIO_FAULT_INFO

}  // namespace

std::span<const fault_code_info> fault_codes() {
  return k_codes;
}

const fault_code_info* find_fault_code(std::int32_t code) {
  const auto* it = std::find_if(std::begin(k_codes), std::end(k_codes),
                                [code](const fault_code_info& info) { return info.code == code; });
  return it == std::end(k_codes) ? nullptr : it;
}

}  // namespace scenario
