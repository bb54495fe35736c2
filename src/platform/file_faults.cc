#include "platform/file_faults.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace scenario {
namespace {

const file_faults* g_faults = nullptr;

constexpr std::array<std::string_view, 4> k_step_names = {"write", "sync", "rename", "remove"};

struct stop_point {
  set_step step;
  long count;
};

// The step SCENARIO_GEN_STOP_AT names, or nothing when it names none.
std::optional<stop_point> stop_point_asked() {
  const char* asked = std::getenv("SCENARIO_GEN_STOP_AT");
  if (asked == nullptr) return std::nullopt;
  const std::string_view text = asked;
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  for (std::size_t i = 0; i < k_step_names.size(); ++i) {
    if (text.substr(0, colon) != k_step_names[i]) continue;
    long count = 0;
    const std::string_view digits = text.substr(colon + 1);
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (r.ec != std::errc{} || r.ptr != digits.data() + digits.size() || count < 1)
      return std::nullopt;
    return stop_point{static_cast<set_step>(i), count};
  }
  return std::nullopt;
}

std::array<std::atomic<long>, k_step_names.size()> g_steps_taken{};

}  // namespace

void set_file_faults(const file_faults* faults) {
  g_faults = faults;
}

const file_faults* active_file_faults() {
  return g_faults;
}

void before_set_step(set_step step) {
  static const std::optional<stop_point> stop = stop_point_asked();
  if (!stop || stop->step != step) return;
  if (++g_steps_taken[static_cast<std::size_t>(step)] == stop->count) end_process_at_once();
}

}  // namespace scenario
