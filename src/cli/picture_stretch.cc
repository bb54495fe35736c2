#include "cli/picture_stretch.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace scenario {
namespace {

// A plain decimal number of kilometres, 0 up to the longest line, in metres.
std::optional<double> km_metres(const std::string& text) {
  double km = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, km, std::chars_format::fixed);
  if (text.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(km) || km < 0 ||
      km > 1e4)
    return std::nullopt;
  return km * 1000;
}

}  // namespace

std::string read_stretch(const command_options& o, picture_options& picture) {
  for (const auto& [word, value, target] : {std::tuple{"--from", &o.from_km, &picture.from},
                                            std::tuple{"--to", &o.to_km, &picture.to}}) {
    if (!*value) continue;
    const std::optional<double> m = km_metres(**value);
    if (!m) return std::string(word) + " '" + **value + "' is not a distance in km, such as 12.5";
    *target = *m;
  }
  if (picture.to && *picture.to <= picture.from.value_or(0)) return "--to must be beyond --from";
  return {};
}

std::string stretch_outside(const command_options& o, const picture_options& picture, double end) {
  const char* beyond = picture.from && *picture.from >= end ? "--from"
                       : picture.to && *picture.to > end    ? "--to"
                                                            : nullptr;
  if (beyond == nullptr) return {};
  const std::string& given = std::string_view(beyond) == "--from" ? *o.from_km : *o.to_km;
  char km[32];
  std::snprintf(km, sizeof km, "%g", end / 1000);
  return std::string(beyond) + " '" + given +
         "' is beyond the route's end: the picture spans 0 to " + km + " km";
}

}  // namespace scenario
