#include "editor/shipped_kinds.h"

#include <array>

namespace scenario {
namespace {

// The reference's rows, cell for cell; a test reads the reference and
// compares, so the two cannot drift apart.
constexpr std::array k_station_kinds = {
    station_kind{"the departure station, first record", "8", "300", "0 0 0", "1 1 0", "4 1 1", "1",
                 "departure, 5:58:00", "CORVALE"},
    station_kind{"a stop: the train stops a minute", "12", "400, 500", "0 0 0", "1 1 0", "4 1 1",
                 "60", "departure, 6:21:00 and 6:49:00", "MONTALE ROSSIA, LIVANE-MORASCHI"},
    station_kind{"a station passed without stopping (the sheet gives its passing time)", "12",
                 "300 to 600", "0 0 0", "1 1 0", "4 1 1", "0, 115 or 130", "0, 0, 0",
                 "BRUSETO, Ortella, TORRASO, VALPERA, MERIANO"},
    station_kind{"passed without stopping, of another type", "24", "200, 300", "0 0 0", "0 0 0",
                 "4 1 1", "0 or 1", "0, 0, 0", "PRELLO, ROCCAFENDA"},
    station_kind{"passed without stopping, of another type", "22", "300", "0 0 0", "0 0 0", "4 1 1",
                 "0", "0, 0, 0", "SCAVETO-LIRANO"},
    station_kind{"the terminus, last record", "12", "500", "1 0 0", "1 1 0", "2 1 1", "0",
                 "arrival, 6:56:00", "PIANASCO"},
};

constexpr std::array k_signal_kinds = {
    signal_kind{"1", "4 1 0", "0", "40 10 0, type 3",
                "4000, 7550, 21050, 27050 (its delay 220 is not stored), 32650, 42600, 46350, "
                "51700 m",
                "dark square head, lamps blue, green, white"},
    signal_kind{"1", "3 1 0", "0", "30 10 0, type 3", "14000, 37700 m",
                "dark square head, lamps red, green, white"},
    signal_kind{"1", "5 6 0", "0", "50 60 0, type 3", "62350 m, before the terminus",
                "dark square head, lamps purple, teal, white"},
    signal_kind{"2", "4 1 1", "0", "40 10 10, type 6",
                "4850, 8800, 15250 (delay 140), 28250, 33850 m",
                "rounded dark head, lamps blue, green, green"},
    signal_kind{"2", "3 1 1", "0", "30 10 10, type 6",
                "22250, 38900 (delay 150), 43800, 47500, 52900 m",
                "rounded dark head, lamps red, green, green"},
    signal_kind{"2", "2 3 1", "1", "20 30 10, type 16", "63550 m, before the terminus",
                "rounded dark head with a bar under it, lamps yellow, red, green"},
};

bool holds(std::string_view cell, std::optional<std::int64_t> value) {
  if (!value) return false;
  for (const std::int64_t n : numbers_in(cell))
    if (n == *value) return true;
  return false;
}

// Fields from..from+2 of a record against a cell of three numbers.
bool same_three(std::string_view cell, const std::vector<std::optional<std::int64_t>>& values,
                std::size_t from) {
  const std::vector<std::int64_t> wanted = numbers_in(cell);
  if (wanted.size() != 3) return false;
  for (std::size_t i = 0; i < 3; ++i)
    if (values[from + i] != wanted[i]) return false;
  return true;
}

}  // namespace

std::span<const station_kind> station_kinds() {
  return k_station_kinds;
}
std::span<const signal_kind> signal_kinds() {
  return k_signal_kinds;
}

std::vector<std::int64_t> numbers_in(std::string_view cell) {
  std::vector<std::int64_t> out;
  bool in_number = false;
  for (const char c : cell) {
    const bool digit = c >= '0' && c <= '9';
    if (digit && !in_number) out.push_back(0);
    if (digit) out.back() = out.back() * 10 + (c - '0');
    in_number = digit;
  }
  return out;
}

const station_kind* station_kind_of(const std::vector<std::optional<std::int64_t>>& values) {
  if (values.size() != 17) return nullptr;
  const bool timed =
      values[13].value_or(0) != 0 || values[14].value_or(0) != 0 || values[15].value_or(0) != 0;
  for (const station_kind& kind : k_station_kinds) {
    const bool kind_timed = kind.time != "0, 0, 0";
    if (holds(kind.type, values[1]) && same_three(kind.f4_f6, values, 3) &&
        same_three(kind.f7_f9, values, 6) && same_three(kind.f10_f12, values, 9) &&
        holds(kind.f13, values[12]) && timed == kind_timed)
      return &kind;
  }
  return nullptr;
}

const signal_kind* signal_kind_of(const std::vector<std::optional<std::int64_t>>& values) {
  if (values.size() != 11) return nullptr;
  for (const signal_kind& kind : k_signal_kinds)
    if (holds(kind.sx, values[1]) && same_three(kind.s1_s3, values, 2) &&
        holds(kind.rapp, values[5]))
      return &kind;
  return nullptr;
}

}  // namespace scenario
