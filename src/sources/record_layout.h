// The layout of the two descriptions as the program writes them: how each
// record spaces its fields. The shipped descriptions are written this way,
// and so is every description written back from compiled files.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "model/cell_objects.h"
#include "sources/keyword_table.h"

namespace scenario {

// Every keyword written is one of the keyword table's; a kind with several
// gets the usual one, except for these two, which pick by value.

// The curve keyword read as turning left ("s") or not, with curvature digit
// 1 to 6; empty for another digit.
std::string_view curve_keyword(bool left, int digit);
// The signal-repetition keyword naming 9 codes when codes is 9, else the one
// naming 4.
std::string_view repetition_keyword(int codes);

// The numbers of the records laid out from a list, as many as the table gives
// the kind: a speed board's after its position, a station's all but its name,
// a slowdown's and a signal's all of them (their records' numbers(),
// model/cell_objects.h).
using speed_board_numbers =
    std::array<std::optional<std::int32_t>, field_count(line_record::speed_board) - 1>;
using station_numbers = std::array<std::int32_t, field_count(train_record::station) - 1>;
using slowdown_numbers = decltype(slowdown_record{}.numbers());
static_assert(std::tuple_size_v<slowdown_numbers> == field_count(train_record::slowdown));
using signal_numbers = decltype(signal_record{}.numbers());
static_assert(std::tuple_size_v<signal_numbers> == field_count(train_record::signal));

// "KEYWORD,    V1,    V2": a general record of either description, four
// blanks after every comma.
std::string general_line(std::string_view keyword, std::initializer_list<std::int32_t> values);

// Line description body records.
// "curvad6,  500,  300"
std::string curve_line(std::string_view keyword, std::int32_t start, std::int32_t length);
// "pendenza,  2950,   14"
std::string gradient_line(std::int32_t position, std::int32_t gradient);
// "montagna,   8650,  8750,  12"
std::string scenery_line(std::int32_t inizio, std::int32_t fine, std::int32_t tipo);
// "indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0": the eight values
// after the position; an empty one is an empty field.
std::string speed_board_line(std::int32_t posizione, const speed_board_numbers& values);
// "cartello indicatore,  7000,  PASSO DEL LUPO"; field as text_field gives it.
std::string text_board_line(std::int32_t position, std::string_view field);

// Train description records: each value right-aligned in a field of fixed
// width that starts after its comma.
// "orologio,    5               57            30 ": blanks only between the values.
std::string clock_line(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);
// "aderenza,   0,    100"
std::string adhesion_line(std::int32_t position, std::int32_t adhesion);
// "velocita,    1850,    90"
std::string speed_limit_line(std::int32_t position, std::int32_t speed);
// "stazione,       0,  8,  300,  0, 0, 0,  1,1,0,  4,1,1,    1,   5,58, 0, CORVALE":
// the sixteen numbers in line order, then the name as text_field gives it.
std::string station_line(const station_numbers& values, std::string_view name_field);
// "rallentamento,   51150,    50,  200, 0,  1,  0": x, v, l, f_tt, f_ta, d_v.
std::string slowdown_line(const slowdown_numbers& values);
std::string slowdown_line(const slowdown_record& slowdown);
// "segnale,   15250,   2, 4, 1,  1, 0,    0,  0,0,0, 140": the eleven values
// in line order, the position first.
std::string signal_line(const signal_numbers& values);
std::string signal_line(const signal_record& signal);
// "abbattimento,    1000,   180"
std::string code_line_line(std::int32_t position, std::int32_t value);

// How text must stand as the last field of a record for the field reader to
// read it back unchanged: as it is, or in double quotes; nothing when no
// field reads back as that text (a double quote together with a comma, a line
// end, an outer blank or a leading quote).
std::optional<std::string> text_field(std::string_view text);

}  // namespace scenario
