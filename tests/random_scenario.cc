#include "random_scenario.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <vector>

#include "common/numeric.h"
#include "run/compile.h"
#include "sources/line_content.h"
#include "sources/train_content.h"

namespace scenario::testing {
namespace {

// std::mt19937 is the same everywhere; its distributions are not.
class dice {
 public:
  explicit dice(std::uint32_t seed) : g_(seed) {}
  int in(int lo, int hi) {
    return lo + static_cast<int>(g_() % static_cast<unsigned>(hi - lo + 1));
  }
  bool chance(int percent) { return in(1, 100) <= percent; }
  template <typename T>
  void shuffle(std::vector<T>& v) {
    for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[g_() % i]);
  }

 private:
  std::mt19937 g_;
};

std::string n(std::int64_t v) {
  return std::to_string(v);
}

std::string record(std::string keyword, std::initializer_list<std::int64_t> values) {
  for (std::int64_t v : values) keyword += ", " + n(v);
  return keyword;
}

// The metres of a count of cells.
std::int64_t metres(int cells) {
  return 50 * std::int64_t{cells};
}

std::string join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

class generator {
 public:
  generator(std::uint32_t seed, unsigned overlays) : d_(seed), o_(overlays), made_(overlays) {}

  generated_scenario make() {
    if (wants(k_slots_full)) {
      boards_ = d_.in(1, 10);
      stations_ = 78 - boards_;
    } else {
      stations_ = d_.chance(8) ? 78 : d_.in(0, 14);
      boards_ = stations_ == 78 ? 0 : d_.in(0, 4);
    }
    compact_ = stations_ > 60;
    length_ = std::max(d_.in(5000, 90000), stations_ * 700 + 3000);
    if (d_.chance(30)) length_ += d_.in(1, 49);
    last_cell_ = static_cast<int>(round_half_even(length_ + 7000, 50));
    taken_.assign(static_cast<std::size_t>(last_cell_) + 1, false);
    taken_[0] = taken_[1] = true;  // cell 1 carries the stamp

    std::vector<std::string> line{"[generale]", record("lunghezza percorso", {length_})};
    general(line);
    line.push_back("[curve]");
    curves(line);
    line.push_back("[pendenze]");
    gradients(line);
    std::vector<std::string> sections = wants(k_sections_any_order) ? any_sections() : scenery();
    slowdowns_ = slowdown_records();  // first: they need long stretches free
    station_records_ = station_records();
    std::vector<std::string> boards = board_records();
    if (wants(k_sections_any_order)) {
      // Boards before a section keep its markers off their cells.
      sections.insert(sections.end(), boards.begin(), boards.end());
      d_.shuffle(sections);
      line.push_back("[montagne]");
      line.insert(line.end(), sections.begin(), sections.end());
    } else {
      line.push_back("[montagne]");
      line.insert(line.end(), sections.begin(), sections.end());
      line.push_back("[cartelli]");
      line.insert(line.end(), boards.begin(), boards.end());
    }
    line.push_back("[fine]");
    std::vector<std::string> train{"[generale]"};
    train_records(train);
    return {join(line), join(train), made_};
  }

 private:
  bool wants(overlay o) const { return (o_ & o) != 0; }
  int cell_of(int p) const { return static_cast<int>(round_half_even(p + 50, 50)); }
  // The latest position a record may have: p + 100 <= 50 P.
  int room() const { return 50 * last_cell_ - 100; }
  bool free(int a, int b) const {
    if (a < 0 || b > last_cell_) return false;
    for (int c = a; c <= b; ++c)
      if (taken_[static_cast<std::size_t>(c)]) return false;
    return true;
  }
  void take(int a, int b) {
    for (int c = a; c <= b; ++c) taken_[static_cast<std::size_t>(c)] = true;
  }
  // A free cell between first and last, or -1.
  int free_cell(int first, int last) {
    for (int tries = 0; tries < 50; ++tries) {
      const int c = d_.in(first, last);
      if (free(c, c)) return c;
    }
    return -1;
  }
  std::string name() {
    static const char* const words[] = {"PASSO",      "DEL", "LUPO",   "PONTE", "Ortella",
                                        "VALLE-ALTA", "SAN", "MOLINO", "km"};
    std::string out = words[d_.in(0, 8)];
    for (int i = d_.in(0, 2); i > 0; --i) out += std::string(" ") + words[d_.in(0, 8)];
    return out;
  }

  void general(std::vector<std::string>& out) {
    const char* const names[] = {"uno", "due", "tre"};
    for (int i = 0; i < 3; ++i)
      if (d_.chance(50))
        out.push_back(
            record(std::string("progressiva chilometrica ") + names[i],
                   {metres(d_.in(0, length_ / 50)), metres(d_.in(0, 5000)), d_.in(0, 2)}));
    out.push_back(record("sfondo uno", {d_.in(-5, 70000)}));
    out.push_back(record("sfondo due", {d_.in(0, 3)}));
    out.push_back(record("sfondo tre", {d_.in(0, 5000)}));
    const int from = 50 * d_.in(0, length_ / 100);
    const int to = d_.chance(15) ? 0 : 50 * d_.in(from / 50, length_ / 50);
    out.push_back(record(
        std::string("ripetizione segnali ") + (d_.chance(50) ? "4" : "9") + " codici", {from, to}));
  }

  // Curves of every class both ways, some overlapping the one before, one
  // at the very start, one running past the end of the plan.
  void curves(std::vector<std::string>& out) {
    int s = d_.chance(20) ? 0 : d_.in(1, 800);
    for (int i = d_.in(0, 30); i > 0 && s <= room(); --i) {
      const int l = d_.in(1, 900);
      out.push_back(
          record(std::string("curva") + (d_.chance(50) ? "s" : "d") + n(d_.in(1, 6)), {s, l}));
      s = d_.chance(15) ? s + d_.in(0, l) : s + l + d_.in(0, 4000);
    }
    if (d_.chance(30))
      out.push_back(record("curvad" + n(d_.in(1, 6)), {d_.in(room() - 1500, room()), 5000}));
  }

  // Gradients in order, now and then two in one cell or off the cell boundary.
  void gradients(std::vector<std::string>& out) {
    int p = d_.chance(50) ? 0 : 50 * d_.in(1, 40);
    for (int i = d_.in(0, 40); i > 0 && p <= room(); --i) {
      const int g = d_.chance(10) ? d_.in(-100, 155) : d_.in(-30, 30);
      out.push_back(record("pendenza", {p + (d_.chance(15) ? d_.in(-20, 20) : 0), g}));
      if (d_.chance(10) && p + 10 <= room())
        out.push_back(record("pendenza", {p + 10, d_.in(-30, 30)}));
      p += 50 * d_.in(1, 80);
    }
  }

  // Sections in order, with and without markers, some close after the one
  // before (which makes them type 3), some inside the one before.
  std::vector<std::string> scenery() {
    std::vector<std::string> out;
    int p = 50 * d_.in(0, 40);
    for (int i = d_.in(0, 12); i > 0 && p <= room(); --i) {
      const int end = p + 50 * d_.in(1, 60);
      const int tipo = d_.in(0, 9) + (d_.chance(60) ? 10 : 0);
      out.push_back(record("montagna", {p, end, tipo}));
      int last_end = end;
      if (d_.chance(15) && end - p >= 400)
        out.push_back(record("montagna", {p + 100, end - 150, d_.in(1, 13)}));
      else if (d_.chance(15))
        out.push_back(
            record("montagna", {end - 100, last_end = end + 50 * d_.in(1, 10), d_.in(1, 13)}));
      p = last_end + (d_.chance(25) ? 50 * d_.in(0, 3) : 50 * d_.in(4, 100));
    }
    return out;
  }

  // Sections anywhere on the grid, in no order: inside, across and next to
  // one another, some empty, some off the cell boundary, a few with types
  // past a byte.
  std::vector<std::string> any_sections() {
    std::vector<std::string> out;
    const int last_start = last_cell_ - 2;
    int near = d_.in(0, last_start);
    for (int i = d_.in(1, 30); i > 0; --i) {
      int first =
          d_.chance(60) ? std::clamp(near + d_.in(-12, 12), 0, last_start) : d_.in(0, last_start);
      const int cells = d_.chance(5) ? 0 : d_.in(1, d_.chance(20) ? 200 : 40);
      const int last = std::min(last_cell_ - 1, first + cells - 1);
      int inizio = 50 * first, fine = 50 * (last + 1);
      if (d_.chance(10) && inizio > 0) inizio -= 25;
      int tipo = d_.in(0, 9) + (d_.chance(60) ? 10 : 0);
      if (d_.chance(3)) tipo = d_.chance(50) ? 266 : -4;
      out.push_back(record("montagna", {inizio, fine, tipo}));
      near = d_.chance(50) ? first : last + 1;
    }
    return out;
  }

  // Speed boards and text boards on free cells, and with k_boards_under_stops
  // some on the cells stations stop on later.
  std::vector<std::string> board_records() {
    std::vector<int> stops = stops_;
    d_.shuffle(stops);
    auto stop_cell = [&]() {
      // The board's position must pass its check: cell <= P - 1.
      while (!stops.empty()) {
        const int c = stops.back();
        stops.pop_back();
        if (c <= last_cell_ - 1) {
          board_on_stop_.push_back(c);
          return c;
        }
      }
      return -1;
    };
    const bool under = wants(k_boards_under_stops);
    std::vector<std::string> out;
    for (int i = d_.in(under ? 1 : 0, 10); i > 0; --i) {
      int c = under && d_.chance(50) ? stop_cell() : -1;
      if (c < 0) c = free_cell(2, last_cell_ - 1);
      if (c < 0) continue;
      take(c, c);
      std::string r = "indicatori_vmax, " + n(metres(c - 1));
      for (int v = 0; v < 3; ++v) r += ", " + n(d_.in(0, 200));
      r += ", " + n(d_.in(0, 9));
      for (int v = 0; v < 3; ++v)
        r += ", " + (d_.chance(30) ? n(5 * std::int64_t{d_.in(0, 19)}) : "");
      out.push_back(r + ", " + n(d_.in(0, 9)));
    }
    std::vector<std::string> texts;
    for (int i = 0; i < boards_; ++i) {
      int c = under && d_.chance(40) ? stop_cell() : -1;
      if (c < 0) c = free_cell(2, last_cell_ - 1);
      if (c < 0) continue;
      take(c, c);
      std::string text = d_.chance(5) ? "" : name();
      if (d_.chance(30)) text = "\"" + text.append(", ").append(name()) + "\"";
      texts.push_back("cartello indicatore, " + n(50 * (c - 1) + d_.in(-20, 20)) + ", " + text);
    }
    if (under) d_.shuffle(texts);
    out.insert(out.end(), texts.begin(), texts.end());
    return out;
  }

  std::vector<std::string> station_records() {
    std::vector<std::string> out;
    const int types[] = {5, 6, 7, 8, 12, 12, 12, 22, 24, 30};
    int end_before = -1000;
    for (int s = 1; s <= stations_; ++s) {
      const int type = types[d_.in(0, 9)];
      const int length = 100 * d_.in(1, compact_ ? 2 : 8);
      const int sixth = d_.in(0, 1);
      const int before = type >= 5 && type <= 8 ? length : length / 2;
      int pos = std::max(0, end_before + 350 + before);
      pos = 50 * ((pos + 49 + 50 * (compact_ ? 0 : d_.in(0, 40))) / 50);
      const int fine = pos + (type == 5 || type == 6   ? 150
                              : type == 7 || type == 8 ? length
                                                       : length / 2 + (sixth ? 50 : 0));
      const int stop = fine / 50 - 1;
      if (pos + 800 > 50 * last_cell_ || (type < 25 && (stop < 2 || !free(stop, stop)))) break;
      if (type < 25) {
        take(stop, stop);
        stops_.push_back(stop);
        station_of_stop_.push_back(static_cast<int>(out.size()));
      }
      end_before = fine;
      out.push_back(
          record("stazione", {pos, type, length, d_.in(0, 1), d_.in(0, 1), sixth, d_.in(0, 1),
                              d_.in(0, 1), d_.in(0, 1), d_.in(0, 5), d_.in(0, 1), d_.in(0, 1),
                              d_.in(0, 200), d_.in(0, 23), d_.in(0, 59), d_.in(0, 59)}) +
          ", " + name());
    }
    return out;
  }

  std::vector<std::int64_t> signal(int k) {
    std::vector<std::int64_t> v{metres(k - 1),
                                d_.chance(80) ? d_.in(1, 2) : d_.in(0, 3),
                                d_.in(0, 6),
                                d_.in(0, 6),
                                d_.in(0, 6),
                                d_.in(0, 1),
                                d_.chance(90) ? 0 : d_.in(0, 2),
                                d_.chance(90) ? 0 : d_.in(0, 9),
                                0,
                                0,
                                d_.chance(50) ? 0 : d_.in(0, 300)};
    // Codes sx x 3 + dx whose marks (code x 10 + 1 to 4) wrap past a byte,
    // or fall below 0.
    if (wants(k_marks_over_marks) && d_.chance(30)) {
      v[1] = d_.in(-4, 40);
      v[6] = d_.in(-30, 30);
      v[5] = d_.in(-9, 9);
    }
    return v;
  }
  static std::string signal_line(const std::vector<std::int64_t>& v) {
    std::string r = "segnale";
    for (std::int64_t x : v) r += ", " + n(x);
    return r;
  }

  // Slowdowns with the cells the code-point pass needs kept free, and a
  // signal near some of them.
  std::vector<std::string> slowdown_records() {
    std::vector<std::string> out;
    for (int i = d_.in(0, 3); i > 0; --i) {
      int x = d_.chance(15) ? 50 * d_.in(2, 30) : 50 * d_.in(60, std::max(61, length_ / 50));
      if (x > 1500 && d_.chance(20) && cell_of(x - 25) == cell_of(x)) x -= 25;
      const int l = 50 * d_.in(1, 30);
      const int start = cell_of(x), end = cell_of(x + l);
      if (x + 100 > room() || !free(std::max(2, start - 48), std::min(last_cell_, end + 14)))
        continue;
      take(std::max(2, start - 48), std::min(last_cell_, end + 14));
      out.push_back(record("rallentamento", {x, d_.in(10, 150), l, d_.in(0, 1), d_.in(0, 1),
                                             d_.chance(30) ? d_.in(1, 5) : 0}));
      if (x > 1500 && d_.chance(60))
        near_signals_.push_back(signal_line(signal(start - 24 - d_.in(6, 20))));
      if (d_.chance(40)) near_signals_.push_back(signal_line(signal(end + d_.in(2, 12))));
    }
    return out;
  }

  // With k_marks_over_marks, signals one to eight cells after a stop, so
  // that their marks fall on the station's, written after the station or
  // just before it.
  void signals_after_stops(std::vector<std::string>& after,
                           std::vector<std::vector<std::string>>& before) {
    for (std::size_t i = 0; i < stops_.size(); ++i) {
      if (!d_.chance(60)) continue;
      const int k = stops_[i] + d_.in(1, 8);
      if (k > last_cell_ - 2 || !free(k, k)) continue;
      take(k, k);
      std::string s = signal_line(signal(k));
      if (d_.chance(50))
        before[static_cast<std::size_t>(station_of_stop_[i])].push_back(std::move(s));
      else
        after.push_back(std::move(s));
    }
  }

  // With k_signals_under_stops, signals on the stop cells no board took,
  // each written just before the station that stops there.
  void signals_under_stops(std::vector<std::vector<std::string>>& before) {
    bool any = false;
    for (std::size_t i = 0; i < stops_.size(); ++i) {
      const int k = stops_[i];
      if (k < 8 || k > last_cell_ - 2 ||
          std::find(board_on_stop_.begin(), board_on_stop_.end(), k) != board_on_stop_.end() ||
          std::find(stop_over_slowdown_.begin(), stop_over_slowdown_.end(), k) !=
              stop_over_slowdown_.end() ||
          (any && !d_.chance(50)))
        continue;
      any = true;
      before[static_cast<std::size_t>(station_of_stop_[i])].push_back(signal_line(signal(k)));
    }
  }

  // With k_stops_over_slowdowns, slowdowns one of whose cells (start, end,
  // warning or an approach cell) a station's stop takes, each written just
  // before that station. The cells around it that the code-point pass
  // needs are kept free.
  void slowdowns_under_stops(std::vector<std::vector<std::string>>& before) {
    bool any = false;
    for (std::size_t i = 0; i < stops_.size(); ++i) {
      const int k = stops_[i];
      if (std::find(board_on_stop_.begin(), board_on_stop_.end(), k) != board_on_stop_.end() ||
          (any && !d_.chance(50)))
        continue;
      const int l = 50 * d_.in(1, 20);
      // The stop takes the start, the end, the warning or approach cell 1 to 4.
      const int role = d_.in(0, 6);
      const int start = role == 0   ? k
                        : role == 1 ? k - l / 50
                        : role == 2 ? k + 24
                                    : k + 24 + (role - 2);
      const int x = 50 * (start - 1);
      if (x < 0 || x + l + 100 > room() || (role >= 2 && x <= 1500)) continue;
      const int f_ta = role >= 3 ? 1 : d_.in(0, 1);
      std::vector<int> cells{start, start + l / 50};
      if (x > 1500) {
        cells.push_back(start - 24);
        if (f_ta != 0)
          for (int a = 1; a <= 4; ++a) cells.push_back(start - 24 - a);
      }
      bool fits = true;
      for (int c : cells) fits = fits && (c == k || free(c, c));
      for (int c = std::max(2, start - 20); c <= std::min(last_cell_, start + l / 50 + 14); ++c)
        fits = fits && (c == k || free(c, c));
      if (!fits) continue;
      for (int c = std::max(2, start - 20); c <= std::min(last_cell_, start + l / 50 + 14); ++c)
        taken_[static_cast<std::size_t>(c)] = true;
      for (int c : cells) take(c, c);
      any = true;
      stop_over_slowdown_.push_back(k);
      before[static_cast<std::size_t>(station_of_stop_[i])].push_back(
          record("rallentamento",
                 {x, d_.in(10, 150), l, d_.in(0, 1), f_ta, d_.chance(30) ? d_.in(1, 5) : 0}));
    }
    if (!any) made_ &= ~unsigned{k_stops_over_slowdowns};
  }

  void train_records(std::vector<std::string>& out) {
    out.push_back(record("numero vetture", {d_.in(1, 20)}));
    out.push_back(record("percentuale massa frenata", {d_.in(50, 200)}));
    out.push_back(record("sabbia", {d_.in(0, 1000)}));
    out.push_back("orologio, " + n(d_.in(0, 23)) + " " + n(d_.in(0, 59)) + " " + n(d_.in(0, 59)));
    out.push_back("[aderenze]");
    int p = d_.chance(70) ? 0 : 50 * d_.in(1, 20);
    for (int i = d_.in(1, 5); i > 0 && p <= room(); --i, p += 50 * d_.in(1, 400))
      out.push_back(record("aderenza", {p, d_.in(0, 255)}));
    out.push_back("[vel_limite]");
    p = d_.chance(70) ? 0 : 50 * d_.in(1, 20);
    for (int i = d_.in(1, 12); i > 0 && p <= room(); --i, p += 50 * d_.in(1, 200))
      out.push_back(record("velocita", {p, d_.chance(90) ? 5 * d_.in(0, 50) : d_.in(0, 250)}));

    std::vector<std::string> signals = near_signals_;
    std::vector<std::vector<std::string>> before(station_records_.size());
    if (wants(k_stops_over_slowdowns)) slowdowns_under_stops(before);
    if (wants(k_marks_over_marks)) signals_after_stops(signals, before);
    if (wants(k_signals_under_stops)) signals_under_stops(before);
    const int pairs = wants(k_marks_over_marks) ? 60 : 20;
    for (int i = d_.in(0, 25); i > 0; --i) {
      const int k = free_cell(8, last_cell_ - 2);
      if (k < 0) continue;
      take(k, k);
      signals.push_back(signal_line(signal(k)));
      // Another 100 to 300 m after it, over its approach marks.
      if (d_.chance(pairs) && free(k + 2, k + 6)) {
        const int k2 = k + 2 * d_.in(1, 3);
        take(k2, k2);
        signals.push_back(signal_line(signal(k2)));
      }
    }
    if (d_.chance(30)) d_.shuffle(signals);
    // Now and then signals come first, and stations overwrite their marks.
    const std::size_t early = d_.chance(20) ? std::min<std::size_t>(signals.size(), 3) : 0;
    out.push_back("[stazioni]");
    out.insert(out.end(), signals.begin(), signals.begin() + static_cast<std::ptrdiff_t>(early));
    for (std::size_t s = 0; s < station_records_.size(); ++s) {
      out.insert(out.end(), before[s].begin(), before[s].end());
      out.push_back(station_records_[s]);
    }
    out.push_back("[rallentamenti]");
    out.insert(out.end(), slowdowns_.begin(), slowdowns_.end());
    out.push_back("[segnali]");
    out.insert(out.end(), signals.begin() + static_cast<std::ptrdiff_t>(early), signals.end());
    out.push_back("[codici]");
    const int codes[] = {0, -3, 60, 180, 270, 40000};
    for (int i = d_.in(0, 4); i > 0; --i)
      if (const int c = free_cell(2, last_cell_ - 2); c >= 0) {
        take(c, c);
        out.push_back(record("abbattimento", {metres(c), codes[d_.in(0, 5)]}));
      }
    out.push_back("[fine]");
  }

  dice d_;
  unsigned o_ = 0;
  unsigned made_ = 0;  // the overlays asked for that the draw could make
  int stations_ = 0, boards_ = 0, length_ = 0, last_cell_ = 0;
  bool compact_ = false;  // stations as close as they may stand
  std::vector<bool> taken_;
  std::vector<int> stops_;               // the stop cells of the stations
  std::vector<int> station_of_stop_;     // for each, its station's index
  std::vector<int> board_on_stop_;       // the stop cells a board took first
  std::vector<int> stop_over_slowdown_;  // the stop cells a slowdown took first
  std::vector<std::string> slowdowns_, station_records_, near_signals_;
};

bool fault_free(const generated_scenario& g, const std::string& number) {
  const compile_result r = compile({"Gen", number, true, {"line", g.line}, {"train", g.train}});
  return r.has_grid() && r.st.faults.empty() && r.stamp_conflict.empty();
}

// A draw that happens to fault (a station too close to the end, a board on
// a station's stop cell), or that found no room for an overlay it was
// asked for, is drawn again from the next seed of a series; after 20 such
// draws one without the overlay will do.
generated_scenario fault_free_draw(std::uint32_t seed, unsigned overlays) {
  for (std::uint32_t attempt = 0;; ++attempt) {
    generated_scenario g = generator(seed * 7919u + attempt, overlays).make();
    if ((g.overlays == overlays || attempt >= 20) && fault_free(g, std::to_string(seed))) return g;
  }
}

}  // namespace

std::string_view overlay_name(overlay o) {
  switch (o) {
    case k_boards_under_stops:
      return "boards under stops";
    case k_marks_over_marks:
      return "marks over marks";
    case k_sections_any_order:
      return "sections in any order";
    case k_slots_full:
      return "board slots meeting station slots";
    case k_signals_under_stops:
      return "signals under stops";
    case k_stops_over_slowdowns:
      return "stops over slowdowns";
  }
  return "?";
}

generated_scenario random_scenario(std::uint32_t seed) {
  return fault_free_draw(seed, 0);
}

generated_scenario overlay_scenario(std::uint32_t seed) {
  // Each kind in half the scenarios, at least one in each.
  std::mt19937 pick(seed ^ 0x9e3779b9u);
  unsigned kinds = 0;
  while (kinds == 0)
    for (overlay o : k_overlays)
      if (pick() % 2 == 0) kinds |= o;
  return fault_free_draw(seed + 0x40000000u, kinds);
}

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    out.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 2;
  }
  return out;
}

// Where the numbers of a line stand: first character, length.
std::vector<std::pair<std::size_t, std::size_t>> numbers_in(const std::string& line) {
  std::vector<std::pair<std::size_t, std::size_t>> numbers;
  for (std::size_t i = 0; i < line.size();) {
    const bool sign = line[i] == '-' && i + 1 < line.size() &&
                      std::isdigit(static_cast<unsigned char>(line[i + 1]));
    if (!sign && !std::isdigit(static_cast<unsigned char>(line[i]))) {
      ++i;
      continue;
    }
    std::size_t j = i + (sign ? 1 : 0);
    while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j]))) ++j;
    if (j - i < 10) numbers.push_back({i, j - i});
    i = j;
  }
  return numbers;
}

// A number of the line changed as a slip of the hand or a careless edit
// would: a step of 50 m, one off, doubled, halved, negated, zeroed, any, or
// a number of another record (`pool`), which puts objects on one another.
void change_number(dice& d, std::string& line, const std::vector<std::int64_t>& pool) {
  const auto numbers = numbers_in(line);
  if (numbers.empty()) return;
  const auto [first, length] =
      numbers[static_cast<std::size_t>(d.in(0, static_cast<int>(numbers.size()) - 1))];
  const std::int64_t v = std::stoll(line.substr(first, length));
  const std::int64_t other =
      pool.empty() ? v : pool[static_cast<std::size_t>(d.in(0, static_cast<int>(pool.size()) - 1))];
  const std::int64_t changed[] = {v + 50 * d.in(-20, 20),
                                  v + 1,
                                  v - 1,
                                  v * 2,
                                  v / 2,
                                  -v,
                                  0,
                                  d.in(0, 100000),
                                  v + 25,
                                  v + 100 * d.in(-5, 5),
                                  other,
                                  other + 50 * d.in(-2, 2)};
  line.replace(first, length, std::to_string(changed[d.in(0, 11)]));
}

// Two sections (a header line and the lines up to the next one) swapped.
void swap_sections(dice& d, std::vector<std::string>& lines) {
  std::vector<std::size_t> heads;
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (!lines[i].empty() && lines[i][0] == '[' && lines[i] != "[fine]") heads.push_back(i);
  if (heads.size() < 2) return;
  const int a = d.in(0, static_cast<int>(heads.size()) - 2);
  const std::size_t from = heads[static_cast<std::size_t>(a)];
  const std::size_t mid = heads[static_cast<std::size_t>(a) + 1];
  std::size_t to = mid + 1;
  while (to < lines.size() && (lines[to].empty() || lines[to][0] != '[')) ++to;
  std::rotate(lines.begin() + static_cast<std::ptrdiff_t>(from),
              lines.begin() + static_cast<std::ptrdiff_t>(mid),
              lines.begin() + static_cast<std::ptrdiff_t>(to));
}

void edit(dice& d, std::vector<std::string>& lines, const std::vector<std::int64_t>& pool) {
  if (lines.size() < 3) return;
  // Never the first line ([generale]) nor the last ([fine]).
  const auto any = [&] {
    return static_cast<std::size_t>(d.in(1, static_cast<int>(lines.size()) - 2));
  };
  const std::size_t i = any();
  switch (d.in(0, 9)) {
    case 0:
    case 1:
    case 2:
    case 3:
      change_number(d, lines[i], pool);
      break;
    case 4: {  // a record copied elsewhere, now and then with a change
      std::string copy = lines[i];
      if (d.chance(50)) change_number(d, copy, pool);
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(any()), copy);
      break;
    }
    case 5:
    case 6: {
      std::string moved = lines[i];
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(any()), moved);
      break;
    }
    case 7:
    case 8:
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    default:
      swap_sections(d, lines);
  }
}

}  // namespace

generated_scenario mutated_scenario(std::uint32_t seed) {
  dice d(seed ^ 0x5bd1e995u);
  generated_scenario g;
  switch (d.in(0, 3)) {
    case 0: {
      for (std::string_view l : line_content()) g.line += std::string(l) + "\r\n";
      for (std::string_view l : train_content()) g.train += std::string(l) + "\r\n";
      break;
    }
    case 1:
      g = random_scenario(seed + 0x60000000u);
      break;
    default:
      g = overlay_scenario(seed + 0x70000000u);
  }
  std::vector<std::string> line = lines_of(g.line), train = lines_of(g.train);
  std::vector<std::int64_t> pool;  // the numbers of both descriptions
  for (const auto* lines : {&line, &train})
    for (const std::string& l : *lines)
      for (const auto& [first, length] : numbers_in(l))
        pool.push_back(std::stoll(l.substr(first, length)));
  for (int edits = d.in(1, 6); edits > 0; --edits) edit(d, d.chance(40) ? line : train, pool);
  g.line = join(line);
  g.train = join(train);
  return g;
}

generated_scenario long_overlay_scenario() {
  constexpr int k_length = 1000000;
  constexpr int k_last_cell = (k_length + 7000) / 50;
  std::vector<bool> taken(k_last_cell + 1, false);
  std::vector<std::string> line{"[generale]",
                                record("lunghezza percorso", {k_length}),
                                record("progressiva chilometrica uno", {0, 100000, 1}),
                                "sfondo uno, 60000",
                                "sfondo due, 1",
                                "sfondo tre, 2000",
                                record("ripetizione segnali 4 codici", {0, k_length}),
                                "[pendenze]"};
  for (int p = 0, i = 0; p <= k_length; p += 500, ++i)
    line.push_back(record("pendenza", {p, (i * 37) % 61 - 30}));
  line.push_back("[montagne]");
  for (int i = 0; i < 80; ++i)
    line.push_back(record("montagna", {3000 + 12500 * i, 5000 + 12500 * i, i % 2 == 0 ? 11 : 2}));
  line.push_back("[cartelli]");
  for (int p = 5000, i = 0; p + 100 <= 50 * k_last_cell && p <= k_length; p += 5000, ++i) {
    taken[static_cast<std::size_t>(p / 50) + 1] = true;
    line.push_back(record("indicatori_vmax", {p, 90 + 10 * (i % 6), 100, 100, i % 4}) +
                   ", 5, , 15, " + n(i % 3));
  }
  line.push_back("[fine]");

  // Type 12, 400 m: the stop is the cell position / 50 + 3. Every other
  // station stops on a board's cell.
  std::vector<std::string> train{
      "[generale]",       "numero vetture, 8", "percentuale massa frenata, 130",
      "sabbia, 300",      "orologio, 6 0 0",   "[aderenze]",
      "aderenza, 0, 100", "[vel_limite]",      "velocita, 0, 90",
      "[stazioni]"};
  for (int i = 0; i < 78; ++i) {
    const int spaced = 6000 + 12800 * i;
    const int pos = i % 2 == 0 ? 50 * ((spaced + 2500) / 5000 * 100 + 1 - 3) : spaced;
    taken[static_cast<std::size_t>(pos / 50) + 3] = true;
    const int minutes = 360 + 6 * i;
    train.push_back(record("stazione", {pos, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, minutes / 60,
                                        minutes % 60, 0}) +
                    ", LOCALITA " + n(i + 1));
  }
  train.push_back("[segnali]");
  for (int p = 1200, i = 0; p <= k_length; p += 1200, ++i) {
    int at = p;
    while (taken[static_cast<std::size_t>(at / 50) + 1]) at += 50;
    taken[static_cast<std::size_t>(at / 50) + 1] = true;
    train.push_back(i % 2 == 0 ? record("segnale", {at, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0})
                               : record("segnale", {at, 2, 4, 1, 1, 0, 0, 0, 0, 0, 140}));
  }
  train.push_back("[fine]");
  return {join(line), join(train), k_boards_under_stops | k_marks_over_marks};
}

}  // namespace scenario::testing
