#include "max_scenario.h"

#include <vector>

namespace scenario {
namespace {

// Cells 0 to P of the largest grid: (L + 7000) / 50.
constexpr std::int32_t k_last_cell = (k_max_length + 7000) / 50;

constexpr int k_stations = 78;  // slots 1 to 78; the 79th would reach slot 80
constexpr std::int32_t k_first_station = 6000;
constexpr std::int32_t k_station_spacing = 12800;
constexpr std::int32_t k_station_length = 400;
constexpr std::int32_t k_slowdown_at = 500000;
constexpr std::int32_t k_slowdown_length = 200;
constexpr std::int32_t k_signal_spacing = 1200;
constexpr std::int32_t k_board_spacing = 5000;
constexpr std::int32_t k_first_board = 2500;
constexpr std::int32_t k_curve_spacing = 2000;
constexpr std::int32_t k_curve_length = 300;
constexpr std::int32_t k_gradient_spacing = 500;
constexpr int k_sections = 80;
constexpr std::int32_t k_section_spacing = 12500;

// The cell of a point object (signal, board, slowdown start and end) at a
// position that is a multiple of 50.
std::int32_t point_cell_of(std::int32_t p) {
  return p / 50 + 1;
}

// Where every object of the grid stands. Objects are placed in a fixed order
// and each one that would land on a taken cell moves on by 50 m, so the two
// texts never put two objects on one cell, whatever the compilers' order.
struct layout {
  std::vector<std::int32_t> stations, signals, boards;
  std::int32_t slowdown = 0;

  layout() {
    for (int i = 0; i < k_stations; ++i) {
      const std::int32_t p = k_first_station + i * k_station_spacing;
      // A type-12 station stops in the cell before the end of its area.
      take((p + k_station_length / 2) / 50 - 1);
      stations.push_back(p);
    }
    // The slowdown keeps to itself the cells from its approach marks (1200 m
    // before it, four cells) to its end, which also holds the three bands
    // where the code-point pass puts its marks.
    slowdown = k_slowdown_at;
    while (!span_free(slowdown)) slowdown += 50;
    for (std::int32_t c = first_slowdown_cell(slowdown); c <= last_slowdown_cell(slowdown); ++c)
      take(c);
    for (std::int32_t p = k_signal_spacing; p <= k_max_length; p += k_signal_spacing)
      signals.push_back(place(p));
    for (std::int32_t p = k_first_board; p <= k_max_length; p += k_board_spacing)
      boards.push_back(place(p));
  }

  static std::int32_t first_slowdown_cell(std::int32_t x) { return (x - 1200) / 50 - 3; }
  static std::int32_t last_slowdown_cell(std::int32_t x) {
    return point_cell_of(x + k_slowdown_length);
  }
  bool span_free(std::int32_t x) const {
    for (std::int32_t c = first_slowdown_cell(x); c <= last_slowdown_cell(x); ++c)
      if (taken[static_cast<std::size_t>(c)]) return false;
    return true;
  }
  void take(std::int32_t cell) { taken[static_cast<std::size_t>(cell)] = true; }
  // The first position from p on whose cell is free; the cell is then taken.
  std::int32_t place(std::int32_t p) {
    while (taken[static_cast<std::size_t>(point_cell_of(p))]) p += 50;
    take(point_cell_of(p));
    return p;
  }

  std::vector<bool> taken = std::vector<bool>(k_last_cell + 1, false);
};

const layout& the_layout() {
  static const layout l;
  return l;
}

// Appends one line: the fields joined by sep, then CR LF.
void line(std::string& out, std::initializer_list<std::string_view> fields,
          std::string_view sep = ",  ") {
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) out += sep;
    out += f;
    first = false;
  }
  out += "\r\n";
}

std::string num(std::int64_t v) {
  return std::to_string(v);
}

// Speed of a board or a speed-limit record: 100, 110, ... 150 km/h in turn.
std::int32_t speed_of(std::size_t i) {
  return 100 + static_cast<std::int32_t>(i % 6) * 10;
}

}  // namespace

std::string max_line_text() {
  const layout& l = the_layout();
  std::string out;
  out.reserve(160000);
  line(out, {"[generale]"});
  line(out, {"lunghezza percorso", num(k_max_length)}, ",    ");
  line(out, {"progressiva chilometrica uno", "0", "100000", "1"}, ",    ");
  line(out, {"progressiva chilometrica due", "0", "0", "0"}, ",    ");
  line(out, {"progressiva chilometrica tre", "0", "0", "0"}, ",    ");
  line(out, {"sfondo uno", "60000"}, ",    ");
  line(out, {"sfondo due", "1"}, ",    ");
  line(out, {"sfondo tre", "2000"}, ",    ");
  line(out, {"ripetizione segnali 4 codici", "0", num(k_max_length)}, ",    ");

  line(out, {"[curve]"});
  // Curves turn left and right in turn, so the plan stays a gentle zigzag;
  // the last one ends well before metre 1,000,000, past which no curve may
  // build the plan.
  int n = 0;
  for (std::int32_t s = 1000; s + k_curve_length < k_max_length; s += k_curve_spacing, ++n)
    line(out, {n % 2 == 0 ? "curvad3" : "curvas3", num(s), num(k_curve_length)});

  line(out, {"[pendenze]"});
  n = 0;
  for (std::int32_t p = 0; p <= k_max_length; p += k_gradient_spacing, ++n) {
    // A spread of rises and falls inside the -100..155 the format allows.
    const std::int32_t g = (n * 37) % 61 - 30;
    line(out, {"pendenza", num(p), num(g)});
  }

  line(out, {"[montagne]"});
  for (int i = 0; i < k_sections; ++i) {
    const std::int32_t inizio = 3000 + i * k_section_spacing;
    // Every other section also gets scenery markers (type + 10).
    const std::int32_t tipo = i % 2 == 0 ? 11 : 2;
    line(out, {"montagna", num(inizio), num(inizio + 2000), num(tipo)});
  }

  line(out, {"[cartelli]"});
  for (std::size_t i = 0; i < l.boards.size(); ++i) {
    const std::int32_t v = speed_of(i);
    line(out,
         {"indicatori_vmax", num(l.boards[i]), num(v - 10), num(v), num(v), "0", "", "", "", "0"});
  }
  line(out, {"[indicazioni]"});
  line(out, {"[fine]"});
  return out;
}

std::string max_train_text() {
  const layout& l = the_layout();
  std::string out;
  out.reserve(80000);
  line(out, {"[generale]"});
  line(out, {"numero vetture", "8"}, ",    ");
  line(out, {"percentuale massa frenata", "130"}, ",    ");
  line(out, {"sabbia", "300"}, ",    ");
  out += "orologio,    6 0 0\r\n";
  line(out, {"[aderenze]"});
  line(out, {"aderenza", "0", "100"});

  line(out, {"[vel_limite]"});
  line(out, {"velocita", "0", "90"});
  for (std::size_t i = 0; i < l.boards.size(); ++i)
    line(out, {"velocita", num(l.boards[i]), num(speed_of(i))});

  line(out, {"[stazioni]"});
  for (std::size_t i = 0; i < l.stations.size(); ++i) {
    // Six minutes between stations from 06:00:00.
    const std::int32_t minutes = 360 + static_cast<std::int32_t>(i) * 6;
    const std::string name = "LOCALITA " + num(static_cast<std::int64_t>(i) + 1);
    line(out, {"stazione", num(l.stations[i]), "12", num(k_station_length), "0", "0", "0", "1", "1",
               "0", "4", "1", "1", "0", num(minutes / 60), num(minutes % 60), "0", name});
  }

  line(out, {"[rallentamenti]"});
  line(out, {"rallentamento", num(l.slowdown), "50", num(k_slowdown_length), "0", "1", "0"});

  line(out, {"[segnali]"});
  for (std::size_t i = 0; i < l.signals.size(); ++i) {
    // Block signals and protection signals in turn, as on the shipped line.
    if (i % 2 == 0)
      line(out, {"segnale", num(l.signals[i]), "1", "4", "1", "0", "0", "0", "0", "0", "0", "0"});
    else
      line(out, {"segnale", num(l.signals[i]), "2", "4", "1", "1", "0", "0", "0", "0", "0", "0"});
  }
  line(out, {"[codici]"});
  line(out, {"[fine]"});
  return out;
}

}  // namespace scenario
