// The inverse of the signal marks: signal records from their cells and
// approach marks.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

// A "segnale" record per signal cell, 50 m before it. Each aspect value
// s x 10 + d splits into its digits; the type value rapp x 10 + sx x 3 + dx
// splits with the code sx x 3 + dx that most of the approach marks
// ((sx x 3 + dx) x 10 + 1 to 4, 100 to 400 m before, low 8 bits) agree on,
// or its last digit when none does. The order of the records settles the
// code again (order_marks), where other marks cover a signal's.
inverted<std::vector<signal_values>> invert_signals(const percorso_t& grid);

// The record of a signal whose cell, number `cell`, holds `s` and whose
// code sx x 3 + dx is `code`: sx is 2 where the cell keeps a clearing delay (the delay then
// comes back as written: 1 to 100 were raised to 101), else a third of the
// code as the shipped signals have it; rapp takes the rest of the type value.
signal_values signal_with_code(const cella& s, std::size_t cell, std::int64_t code);

// The code, near 0, that a signal of type value `type` whose marks are
// those of `code_class` (the code modulo 128, which is all the marks keep)
// can have: one whose last digit is the type value's, so rapp is whole.
// Nothing when the type value's parity is not the class's.
std::optional<std::int64_t> code_in_class(std::int16_t type, std::int64_t code_class);

// The code class (modulo 128) of a signal that leaves `mark` b x 100 m
// before its cell, b from 1 to 4; nothing when no code leaves it.
std::optional<std::int64_t> class_of_mark(std::uint8_t mark, int b);

// The code sx x 3 + dx of a signal record.
std::int32_t signal_code(const signal_values& s);

}  // namespace scenario
