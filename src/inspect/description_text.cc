#include "inspect/description_text.h"

#include "sources/record_layout.h"

namespace scenario {
namespace {

// A text that no field reads back is still written as it stands: the check
// of the written files reports what it becomes.
std::string field_of(const std::string& text) {
  return text_field(text).value_or(text);
}

}  // namespace

std::vector<std::string> line_description_lines(const line_records& r) {
  std::vector<std::string> out{"[generale]"};
  out.push_back(general_line("lunghezza percorso", {r.length}));
  const char* const names[] = {"uno", "due", "tre"};
  for (int i = 0; i < 3; ++i) {
    const reference_values& ref = r.references[static_cast<std::size_t>(i)];
    out.push_back(
        general_line(std::string("progressiva chilometrica ") + names[i], {ref.p, ref.k, ref.f}));
  }
  out.push_back(general_line("sfondo uno", {r.sfondo_uno}));
  out.push_back(general_line("sfondo due", {r.sfondo_due}));
  out.push_back(general_line("sfondo tre", {r.sfondo_tre}));
  out.push_back(
      general_line("ripetizione segnali " + std::to_string(r.repetition.codes) + " codici",
                   {r.repetition.from, r.repetition.to}));

  out.push_back("[curve]");
  for (const curve_values& c : r.curves)
    out.push_back(curve_line(std::string("curva") + (c.left ? "s" : "d") + std::to_string(c.digit),
                             c.start, c.length));
  out.push_back("[pendenze]");
  for (const fill_values& g : r.gradients) out.push_back(gradient_line(g.position, g.value));
  out.push_back("[montagne]");
  for (const scenery_values& s : r.scenery) out.push_back(scenery_line(s.inizio, s.fine, s.tipo));
  out.push_back("[cartelli]");
  for (const speed_board_values& b : r.speed_boards)
    out.push_back(speed_board_line(b.posizione, b.values));
  for (const text_board_values& b : r.text_boards)
    out.push_back(text_board_line(b.position, field_of(b.text)));
  out.push_back("[indicazioni]");
  out.push_back("[fine]");
  return out;
}

std::vector<std::string> train_description_lines(const train_records& r) {
  std::vector<std::string> out{"[generale]"};
  out.push_back(general_line("numero vetture", {r.cars}));
  out.push_back(general_line("percentuale massa frenata", {r.braked_mass}));
  out.push_back(general_line("sabbia", {r.sand}));
  out.push_back(clock_line(r.hours, r.minutes, r.seconds));
  out.push_back("[aderenze]");
  for (const fill_values& a : r.adhesion) out.push_back(adhesion_line(a.position, a.value));
  out.push_back("[vel_limite]");
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
  out.push_back("[stazioni]");
  for (std::size_t s = 0; s < r.stations.size(); ++s) {
    signals_before(s);
    slowdowns_before(s);
    out.push_back(station_line(r.stations[s].numbers, field_of(r.stations[s].name)));
  }
  out.push_back("[rallentamenti]");
  slowdowns_before(r.stations.size());
  out.push_back("[segnali]");
  signals_before(r.stations.size());
  out.push_back("[codici]");
  for (const fill_values& c : r.code_lines) out.push_back(code_line_line(c.position, c.value));
  out.push_back("[fine]");
  return out;
}

}  // namespace scenario
