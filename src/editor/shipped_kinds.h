// The kinds of station and signal the shipped service uses, as the
// reference (docs/authoring.md) tables them: one row per kind, each column
// the reference's cell text. Completion names its examples by these rows and
// hover says which row a record is like, so the editor and the reference
// speak of a station or a signal with the same words.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace scenario {

// A row of the reference's table of stations ("What the station is there").
struct station_kind {
  std::string_view what;     // "the departure station, first record"
  std::string_view type;     // "8"
  std::string_view length;   // "400, 500"
  std::string_view f4_f6;    // "0 0 0"
  std::string_view f7_f9;    // "1 1 0"
  std::string_view f10_f12;  // "4 1 1"
  std::string_view f13;      // "0, 115 or 130"
  std::string_view time;     // "departure, 5:58:00"; "0, 0, 0" for none
  std::string_view shipped;  // "CORVALE"; several joined by ", "
};

// A row of the reference's table of signals.
struct signal_kind {
  std::string_view sx;       // "1"
  std::string_view s1_s3;    // "4 1 0"
  std::string_view rapp;     // "0"
  std::string_view stored;   // "40 10 0, type 3"
  std::string_view where;    // "4000, 7550, ... m"
  std::string_view picture;  // "dark square head, lamps blue, green, white"
};

std::span<const station_kind> station_kinds();
std::span<const signal_kind> signal_kinds();

// The row a station record is like: same type, f4 to f12, an f13 the row
// lists and a time exactly when the row has one. values: the record's 17
// fields as numbers (a field that is not one: nothing). Nothing when no row is.
const station_kind* station_kind_of(const std::vector<std::optional<std::int64_t>>& values);

// The row a signal record (its 11 fields) is like: same sx, s1 to s3 and rapp.
const signal_kind* signal_kind_of(const std::vector<std::optional<std::int64_t>>& values);

// The whole numbers written in a cell of the reference's table, in order
// ("0, 115 or 130": 0, 115, 130).
std::vector<std::int64_t> numbers_in(std::string_view cell);

}  // namespace scenario
