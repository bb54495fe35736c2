// The records of a line and a train description as values, before they are
// laid out as text: what the decompiler recovers from compiled files, and
// what it writes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/cell_objects.h"
#include "model/slot_objects.h"

namespace scenario {

// What one inverse step recovered, and each part it could not invert: "cell
// 306: why", "record 84: why" or "metre 1200: why".
template <typename T>
struct inverted {
  T records{};
  std::vector<std::string> problems;
};

// One step of a running fill (gradient, speed limit, adhesion): from this
// position on, the value holds.
struct fill_values {
  std::int32_t position = 0;
  std::int32_t value = 0;

  friend bool operator==(const fill_values&, const fill_values&) = default;
};

// A kilometric reference as written: position, kilometric value, flag.
using reference_values = km_reference_record;

// The signal repetition record: its keyword names 4 or 9 codes.
struct repetition_values {
  std::int32_t codes = 4;
  std::int32_t from = 0, to = 0;

  friend bool operator==(const repetition_values&, const repetition_values&) = default;
};

// "curva" + ("s" when left, else "d") + digit, from start for length metres.
struct curve_values {
  int digit = 1;
  bool left = false;
  std::int32_t start = 0, length = 0;

  friend bool operator==(const curve_values&, const curve_values&) = default;
};

struct scenery_values {
  std::int32_t inizio = 0, fine = 0, tipo = 0;

  friend bool operator==(const scenery_values&, const scenery_values&) = default;
};

// A speed board: vas, vbs, vcs, strisces, vad, vbd, vcd, strisced; an empty
// value is an empty field.
struct speed_board_values {
  std::int32_t posizione = 0;
  std::array<std::optional<std::int32_t>, 8> values{};

  friend bool operator==(const speed_board_values&, const speed_board_values&) = default;
};

struct text_board_values {
  std::int32_t position = 0;
  std::string text;

  friend bool operator==(const text_board_values&, const text_board_values&) = default;
};

struct line_records {
  std::int32_t length = 0;
  std::array<reference_values, 3> references{};  // "uno", "due", "tre"
  std::int32_t sfondo_uno = 0, sfondo_due = 0, sfondo_tre = 0;
  repetition_values repetition;
  std::vector<curve_values> curves;
  std::vector<fill_values> gradients;
  std::vector<scenery_values> scenery;
  std::vector<speed_board_values> speed_boards;
  std::vector<text_board_values> text_boards;  // in the order of their slots, 80 down
};

// A station line: position, type, length, the ten stored values in line
// order, hours, minutes, seconds; then the name.
struct station_values {
  std::array<std::int32_t, 16> numbers{};
  std::string name;

  friend bool operator==(const station_values&, const station_values&) = default;
};

struct train_records {
  std::int32_t cars = 0, braked_mass = 0, sand = 0;
  std::int32_t hours = 0, minutes = 0, seconds = 0;
  std::vector<fill_values> adhesion;
  std::vector<fill_values> speed;
  std::vector<station_values> stations;  // in slot order
  std::vector<slowdown_record> slowdowns;
  // For each slowdown, the station it is written before (stations.size():
  // after every station, in its own section).
  std::vector<std::size_t> slowdown_before;
  std::vector<signal_record> signals;  // in file order
  // For each signal, the station it is written before (stations.size():
  // after every station, in its own section).
  std::vector<std::size_t> signal_before;
  std::vector<fill_values> code_lines;  // position, value
};

}  // namespace scenario
