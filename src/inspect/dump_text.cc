// The plain dump: one aligned table per kind of content, numbers as stored,
// with their meaning in words beside them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "inspect/inspect.h"
#include "inspect/route_facts.h"
#include "model/cell_objects.h"
#include "model/scenario_constants.h"
#include "model/slot_objects.h"
#include "output/check_codes.h"

namespace scenario {
namespace {

// Columns of text, each as wide as its widest cell; numbers right-aligned.
class text_table {
 public:
  explicit text_table(std::vector<std::string> header, std::string right_aligned)
      : right_(std::move(right_aligned)) {
    rows_.push_back(std::move(header));
  }
  void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

  void print(std::ostream& out, const std::string& indent = "  ") const {
    std::vector<std::size_t> width;
    for (const auto& row : rows_)
      for (std::size_t i = 0; i < row.size(); ++i) {
        if (width.size() <= i) width.push_back(0);
        width[i] = std::max(width[i], row[i].size());
      }
    for (const auto& row : rows_) {
      // A table without column titles starts with an empty row.
      if (&row == &rows_.front() &&
          std::all_of(row.begin(), row.end(), [](const std::string& c) { return c.empty(); }))
        continue;
      std::string line = indent;
      for (std::size_t i = 0; i < row.size(); ++i) {
        const std::string pad(width[i] - row[i].size(), ' ');
        const bool right = i < right_.size() && right_[i] == 'r';
        const bool last = i + 1 == row.size();
        line += right ? pad + row[i] : (last ? row[i] : row[i] + pad);
        if (!last) line += "  ";
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out << line << '\n';
    }
  }

 private:
  std::string right_;  // 'r' for a right-aligned column, anything else left
  std::vector<std::vector<std::string>> rows_;
};

std::string str(long long v) {
  return std::to_string(v);
}

std::string fixed(double v, int decimals) {
  char buf[400];  // room for the largest double written out in full
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  // No "-0.000" for a value that rounds to zero.
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

// A name as printable text: bytes outside printable ASCII as \xNN.
std::string printable(std::string_view name) {
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += ch;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string clock(std::int64_t seconds) {
  const bool negative = seconds < 0;
  if (negative) seconds = -seconds;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%s%02lld:%02lld:%02lld", negative ? "-" : "",
                static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                static_cast<long long>(seconds % 60));
  return buf;
}

// What a grid cell's object and marks mean, in words.
std::string cell_meaning(std::size_t n, const cella& c) {
  std::string m;
  auto add = [&m](const std::string& part) { m += (m.empty() ? "" : "; ") + part; };
  switch (c.tipo_cella) {
    case k_signal:
      add("aspects " + str(c.valore_a) + " " + str(c.valore_b) + " " + str(c.valore_c) + ", type " +
          str(c.valore_d));
      if (c.ritardo != 0) add("clearing delay " + str(c.ritardo) + " s");
      break;
    case k_slowdown_end:
    case k_slowdown_start:
    case k_slowdown_warning:
      add(str(c.valore_a) + " km/h");
      if (c.valore_b != 0) add("second value " + str(c.valore_b));
      if (c.valore_c != 0) add("flag " + str(c.valore_c));
      break;
    case k_slowdown_approach:
      add("approach " + str(c.valore_a) + " (1 nearest the warning)");
      break;
    case k_speed_board: {
      std::string speeds = "speeds";
      for (const std::int16_t v : {c.valore_a, c.valore_b, c.valore_c}) {
        speeds += " " + str(v / 20);
        if (v % 20 != 0) speeds += "/" + str(static_cast<long long>(v % 20) * 5);
      }
      add(speeds + " km/h, stripes " + str(c.valore_d));
      break;
    }
    case k_station_stop:
      add("stop of the station in slot " + str(c.valore_a));
      break;
    case k_code_point:
      add("code " + str(c.valore_a));
      break;
    case k_text_board:
      add("text in slot " + str(c.valore_a));
      break;
    default:
      break;
  }
  if (n == k_stamp_cell_index && c.valore_a == k_stamp_cell)
    add("scenario stamp, check code " + str(c.valore_b));
  if (c.preavviso != 0)
    add("approach mark " + str(c.preavviso) + (c.preavviso / 10 == 8 ? " (station)" : " (signal)"));
  return m;
}

void print_runs(std::ostream& out, const percorso_t& grid, const char* title,
                std::uint8_t cella::*field, std::string (*value)(std::uint8_t)) {
  out << title << '\n';
  text_table t({"cells", "", "", "metres", "", "", "value"}, "rcrrcrr");
  for (const cell_run& r : runs_of(grid, field))
    t.add({str(static_cast<long long>(r.first)), "to", str(static_cast<long long>(r.last)),
           str(static_cast<long long>(r.first) * k_cell_metres), "to",
           str((static_cast<long long>(r.last) + 1) * k_cell_metres), value(r.value)});
  t.print(out);
  out << '\n';
}

void grid_text(std::ostream& out, const loaded_file& f) {
  const percorso_t& g = f.grid;
  out << "route grid " << f.path << ": " << f.bytes << " bytes, " << g.size() << " cells (0 to "
      << g.size() - 1 << "), " << g.size() * k_cell_metres << " m\n";
  out << "metres: where a cell begins (cell n at 50 n m; a point object placed at p m lies in "
         "cell p / 50 + 1)\n\n";

  text_table t({"cell", "metres", "kind", "valore_a", "valore_b", "valore_c", "valore_d", "ritardo",
                "preavviso", "meaning"},
               "rrlrrrrrrl");
  std::size_t rows = 0;
  for (std::size_t n = 0; n < g.size(); ++n) {
    const cella& c = g[n];
    if (c.tipo_cella == k_empty && c.valore_a == 0 && c.valore_b == 0 && c.valore_c == 0 &&
        c.valore_d == 0 && c.ritardo == 0 && c.preavviso == 0)
      continue;
    ++rows;
    t.add({str(static_cast<long long>(n)), str(static_cast<long long>(n) * k_cell_metres),
           std::string(cell_kind_name(c.tipo_cella)), str(c.valore_a), str(c.valore_b),
           str(c.valore_c), str(c.valore_d), str(c.ritardo), str(c.preavviso), cell_meaning(n, c)});
  }
  out << "objects and marks: " << rows << " cells\n";
  t.print(out);
  out << '\n';
  print_runs(out, g, "speed limit (vel_limite, 5 km/h each)", &cella::vel_limite,
             [](std::uint8_t v) { return str(static_cast<long long>(v) * 5) + " km/h"; });
  print_runs(out, g, "gradient (pendenza - 100, per mille)", &cella::pendenza, [](std::uint8_t v) {
    const std::int32_t g = gradient_of(v);
    return (g > 0 ? "+" : "") + str(g) + " per mille";
  });
  print_runs(out, g, "adhesion (aderenza)", &cella::aderenza,
             [](std::uint8_t v) { return str(v); });
  print_runs(out, g, "scenery (ambiente)", &cella::ambiente,
             [](std::uint8_t v) { return v == 0 ? std::string("none") : "type " + str(v); });
}

std::string km_reference(const stazione& s) {
  const km_reference_record r = reference_in_slot(s);
  if (r == km_reference_record{}) return "none";
  return "at " + str(r.p) + " m: km " + km_text(r.k) + ", flag " + str(r.f);
}

void stations_text(std::ostream& out, const loaded_file& f) {
  const stazioni_t& table = f.stations;
  const auto roles = slot_roles(table);
  out << "station table " << f.path << ": " << f.bytes << " bytes, 87 records\n\n";
  text_table t({"slot", "role", "nome", "tipo", "inizio", "fine", "posizione", "orario", "c1", "c2",
                "c3", "c4", "c5", "c6", "c7", "c8", "c9", "c10"},
               "rllrrrrrrrrrrrrrrr");
  for (int s = 0; s < k_station_slots; ++s) {
    const stazione& r = table[static_cast<std::size_t>(s)];
    if (r == stazione{} && roles[static_cast<std::size_t>(s)] == slot_role::unused) {
      // A run of cleared records is one row.
      int to = s;
      while (to + 1 < k_station_slots && table[static_cast<std::size_t>(to) + 1] == stazione{} &&
             roles[static_cast<std::size_t>(to) + 1] == slot_role::unused)
        ++to;
      t.add({s == to ? str(s) : str(s) + "-" + str(to), "unused", "(every field 0)"});
      s = to;
      continue;
    }
    const bool station = roles[static_cast<std::size_t>(s)] == slot_role::station;
    t.add({str(s), std::string(role_name(roles[static_cast<std::size_t>(s)])), printable(r.nome),
           str(r.tipo_stazione), str(r.inizio), str(r.fine), str(r.posizione),
           station ? clock(r.orario) : str(r.orario), str(r.campo_1), str(r.campo_2),
           str(r.campo_3), str(r.campo_4), str(r.campo_5), str(r.campo_6), str(r.campo_7),
           str(r.campo_8), str(r.campo_9), str(r.campo_10)});
  }
  t.print(out);

  run_state names;
  names.stazioni = table;
  const stazione& train = table[k_slot_train];
  const stazione& line = table[k_slot_line];
  const stazione& rep = table[k_slot_repetition];
  const std::int32_t og = codice_gara_og(names);
  const std::int32_t st = codice_gara_st(names);
  out << "\nheader slots\n";
  text_table h({"slot", "holds"}, "rl");
  h.add({"81", "kilometric reference " + km_reference(table[k_slot_km_tre])});
  h.add({"82", "kilometric reference " + km_reference(table[k_slot_km_due])});
  h.add({"83", "kilometric reference " + km_reference(table[k_slot_km_uno])});
  h.add({"84", "braked mass " + str(train.inizio) + " %, route length " + str(train.fine) + " m, " +
                   str(train.posizione) + " cars"});
  h.add({"85", "line " + printable(line.nome) + "; backgrounds " + str(line.inizio) + " (uno), " +
                   str(line.posizione) + " (due), " + str(line.fine) + " (tre)"});
  h.add(
      {"", "stamp " + str(line.campo_2) + ", check code " + str(line.orario) +
               (line.orario == st ? " (matches the names)" : " (the names give " + str(st) + ")")});
  h.add({"86", "train " + printable(rep.nome) + "; signal repetition " + str(rep.inizio) + " to " +
                   str(rep.fine) + " m, " + str(rep.posizione) + " codes"});
  h.add({"", "sand " + str(rep.campo_2) + "; clock starts at " +
                 clock(static_cast<std::int64_t>(rep.campo_4) * 3600 +
                       std::int64_t{rep.campo_5} * 60 + rep.campo_6)});
  h.print(out);
  out << "\nthe route grid of these names carries check code " << og << " in cell 1\n";
}

void plan_text(std::ostream& out, const loaded_file& f) {
  const profilo_t& p = f.plan;
  out << "line plan " << f.path << ": " << f.bytes << " bytes, " << 2 * p.metres()
      << " entries, metres 0 to " << p.extent() << " (E = " << p.extent() << ")\n\n";
  text_table t({"entries", "coordinate 0", "coordinate 1"}, "lrr");
  for (const auto& [tag, name] :
       {std::pair{plan_tag::int16, "16-bit whole"}, std::pair{plan_tag::real, "real"},
        std::pair{plan_tag::empty, "empty"}}) {
    std::size_t count[2] = {0, 0};
    for (int c = 0; c < 2; ++c)
      for (std::size_t m = 0; m < p.metres(); ++m) count[c] += p.tag(m, c) == tag;
    t.add({name, str(static_cast<long long>(count[0])), str(static_cast<long long>(count[1]))});
  }
  t.print(out);
  out << '\n';

  const plan_summary s = summarise_plan(p);
  text_table d({"", ""}, "ll");
  if (s.points == 0) {
    d.add({"points", "none set"});
  } else {
    auto point = [](const plan_point& q) {
      return "(" + fixed(q.x, 3) + ", " + fixed(q.y, 3) + ")";
    };
    d.add({"points set", str(static_cast<long long>(s.points)) + ", metres " +
                             str(static_cast<long long>(s.first_metre)) + " to " +
                             str(static_cast<long long>(s.last_metre))});
    d.add({"first point",
           "metre " + str(static_cast<long long>(s.first_metre)) + ": " + point(s.first)});
    d.add({"last point",
           "metre " + str(static_cast<long long>(s.last_metre)) + ": " + point(s.last)});
    d.add({"bounding box", "x " + fixed(s.low.x, 3) + " to " + fixed(s.high.x, 3) + ", y " +
                               fixed(s.low.y, 3) + " to " + fixed(s.high.y, 3) + " (" +
                               fixed(s.high.x - s.low.x, 1) + " by " +
                               fixed(s.high.y - s.low.y, 1) + " m)"});
    d.add({"length", fixed(s.path_length, 3) + " m along the points, " +
                         fixed(std::hypot(s.last.x - s.first.x, s.last.y - s.first.y), 3) +
                         " m first to last in a straight line"});
    d.add({"turning", "net " + fixed(s.net_turning, 2) + " degrees (" +
                          (s.net_turning >= 0 ? "right" : "left") + "), in all " +
                          fixed(s.total_turning, 2) + " degrees"});
  }
  d.print(out, "");
}

}  // namespace

void dump_text(std::ostream& out, const loaded_file& file) {
  switch (file.kind) {
    case file_kind::grid:
      grid_text(out, file);
      break;
    case file_kind::stations:
      stations_text(out, file);
      break;
    case file_kind::plan:
      plan_text(out, file);
      break;
  }
}

}  // namespace scenario
