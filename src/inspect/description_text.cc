#include "inspect/description_text.h"

#include <array>
#include <tuple>

#include "sources/record_layout.h"

namespace scenario {
namespace {

// A text that no field reads back is still written as it stands: the check
// of the written files reports what it becomes.
std::string field_of(const std::string& text) {
  return text_field(text).value_or(text);
}

std::string header(section name) {
  return std::string(section_header(name));
}

}  // namespace

std::vector<std::string> line_description_lines(const line_records& r) {
  std::vector<std::string> out{header(section::generale)};
  out.push_back(general_line(usual_keyword(line_record::route_length), {r.length}));
  // The references "uno", "due" and "tre", in that order.
  const std::array references{line_record::km_reference_uno, line_record::km_reference_due,
                              line_record::km_reference_tre};
  static_assert(references.size() == std::tuple_size_v<decltype(r.references)>);
  for (std::size_t i = 0; i < references.size(); ++i) {
    const reference_values& ref = r.references[i];
    out.push_back(general_line(usual_keyword(references[i]), {ref.p, ref.k, ref.f}));
  }
  out.push_back(general_line(usual_keyword(line_record::background_uno), {r.sfondo_uno}));
  out.push_back(general_line(usual_keyword(line_record::background_due), {r.sfondo_due}));
  out.push_back(general_line(usual_keyword(line_record::background_tre), {r.sfondo_tre}));
  out.push_back(
      general_line(repetition_keyword(r.repetition.codes), {r.repetition.from, r.repetition.to}));

  out.push_back(header(section::curve));
  for (const curve_values& c : r.curves)
    out.push_back(curve_line(curve_keyword(c.left, c.digit), c.start, c.length));
  out.push_back(header(section::pendenze));
  for (const fill_values& g : r.gradients) out.push_back(gradient_line(g.position, g.value));
  out.push_back(header(section::montagne));
  for (const scenery_values& s : r.scenery) out.push_back(scenery_line(s.inizio, s.fine, s.tipo));
  out.push_back(header(section::cartelli));
  for (const speed_board_values& b : r.speed_boards)
    out.push_back(speed_board_line(b.posizione, b.values));
  for (const text_board_values& b : r.text_boards)
    out.push_back(text_board_line(b.position, field_of(b.text)));
  out.push_back(header(section::indicazioni));
  out.push_back(header(section::fine));
  return out;
}

std::vector<std::string> train_description_lines(const train_records& r) {
  std::vector<std::string> out{header(section::generale)};
  out.push_back(general_line(usual_keyword(train_record::car_count), {r.cars}));
  out.push_back(general_line(usual_keyword(train_record::braked_mass), {r.braked_mass}));
  out.push_back(general_line(usual_keyword(train_record::sand), {r.sand}));
  out.push_back(clock_line(r.hours, r.minutes, r.seconds));
  out.push_back(header(section::aderenze));
  for (const fill_values& a : r.adhesion) out.push_back(adhesion_line(a.position, a.value));
  out.push_back(header(section::vel_limite));
  for (const fill_values& v : r.speed) out.push_back(speed_limit_line(v.position, v.value));

  // A signal whose approach marks a later station overwrites stands before it.
  auto signals_before = [&](std::size_t station) {
    for (std::size_t i = 0; i < r.signals.size(); ++i)
      if (r.signal_before[i] == station) out.push_back(signal_line(r.signals[i]));
  };
  // A slowdown part of which a later station's stop takes stands before it.
  auto slowdowns_before = [&](std::size_t station) {
    for (std::size_t i = 0; i < r.slowdowns.size(); ++i)
      if ((i < r.slowdown_before.size() ? r.slowdown_before[i] : r.stations.size()) == station)
        out.push_back(slowdown_line(r.slowdowns[i]));
  };
  out.push_back(header(section::stazioni));
  for (std::size_t s = 0; s < r.stations.size(); ++s) {
    signals_before(s);
    slowdowns_before(s);
    out.push_back(station_line(r.stations[s].numbers, field_of(r.stations[s].name)));
  }
  out.push_back(header(section::rallentamenti));
  slowdowns_before(r.stations.size());
  out.push_back(header(section::segnali));
  signals_before(r.stations.size());
  out.push_back(header(section::codici));
  for (const fill_values& c : r.code_lines) out.push_back(code_line_line(c.position, c.value));
  out.push_back(header(section::fine));
  return out;
}

}  // namespace scenario
