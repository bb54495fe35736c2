#include "inspect/invert_stations.h"

#include <string>

#include "model/slot_objects.h"
#include "sources/record_layout.h"

namespace scenario {
namespace {

bool empty_record(const stazione& s) {
  return s == stazione{};
}

// The line's length and sixth value for a record's area, or why the area
// comes from no line.
struct area_source {
  std::int64_t length = 0;
  std::int32_t sixth = 0;  // campo_9 as the line gave it
  std::string problem;
};

area_source area_of(const stazione& s, int number) {
  area_source a;
  a.length = station_length_of(s);
  const std::int64_t before = std::int64_t{s.posizione} - s.inizio;
  const std::int64_t after = std::int64_t{s.fine} - s.posizione;
  const bool kept_sixth = station_keeps_campo_9(s.tipo_stazione, number);
  if (!kept_sixth && s.campo_9 != 0) a.problem = "a sixth value the reader sets to 0 here";
  switch (area_rule_of(s.tipo_stazione)) {
    case station_area_rule::stop_after:
      if (after != k_station_stop_after_metres)
        a.problem = "the area of a type 5 or 6 does not end 150 m after it";
      return a;
    case station_area_rule::even:
      if (after != before) a.problem = "the area of a type 7 or 8 is not even about it";
      return a;
    case station_area_rule::halves:
      break;
  }
  // A sixth value other than 0 lengthens the area; the first station
  // records it as 0.
  const bool longer = after == before + k_station_sixth_metres;
  if (!longer && after != before)
    a.problem = "the area is not even about it, nor 50 m longer after it";
  else if (number == 1)
    a.sixth = longer ? 1 : 0;
  else if ((s.campo_9 != 0) != longer)
    a.problem = s.campo_9 != 0 ? "a sixth value that did not lengthen the area"
                               : "an area 50 m longer with a sixth value of 0";
  else
    a.sixth = s.campo_9;
  return a;
}

}  // namespace

std::size_t station_count(const stazioni_t& table, int first_board) {
  std::size_t last = 0;
  for (int slot = 1; slot < first_board; ++slot)
    if (!empty_record(table[static_cast<std::size_t>(slot)])) last = static_cast<std::size_t>(slot);
  return last;
}

inverted<std::vector<station_values>> invert_stations(const stazioni_t& table, int first_board) {
  inverted<std::vector<station_values>> out;
  const auto last = static_cast<int>(station_count(table, first_board));
  for (int number = 1; number <= last; ++number) {
    const stazione& s = table[static_cast<std::size_t>(number)];
    const std::string at = "record " + std::to_string(number) + ": ";
    if (empty_record(s)) out.problems.push_back(at + "an empty record between stations");
    const area_source area = area_of(s, number);
    if (!area.problem.empty()) out.problems.push_back(at + area.problem);
    // The fifth value is set to 0 for the first station and a short one.
    if (s.campo_10 != 0 && !station_keeps_campo_10(area.length, number))
      out.problems.push_back(at + "a fifth value the reader sets to 0 for this station");
    if (!text_field(s.nome))
      out.problems.push_back(at +
                             "a name that no field reads back (it holds a double quote and a "
                             "comma, an outer blank or a line end)");
    const std::int32_t t = s.orario;
    station_values v;
    v.numbers = {s.posizione, s.tipo_stazione, static_cast<std::int32_t>(area.length),
                 s.campo_1,   s.campo_10,      area.sixth,
                 s.campo_2,   s.campo_3,       s.campo_7,
                 s.campo_4,   s.campo_5,       s.campo_6,
                 s.campo_8,   t / 3600,        t % 3600 / 60,
                 t % 60};
    v.name = s.nome;
    out.records.push_back(std::move(v));
  }
  return out;
}

}  // namespace scenario
