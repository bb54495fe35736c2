#include "random_scenario.h"

#include <algorithm>
#include <random>
#include <vector>

#include "common/numeric.h"
#include "run/compile.h"

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

class generator {
 public:
  explicit generator(std::uint32_t seed) : d_(seed) {}

  generated_scenario make() {
    stations_ = d_.chance(8) ? 78 : d_.in(0, 14);
    boards_ = d_.in(0, 4);
    if (stations_ == 78) boards_ = 0;
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
    line.push_back("[montagne]");
    scenery(line);
    line.push_back("[cartelli]");
    std::vector<std::string> train{"[generale]"};
    slowdowns_ = slowdown_records();  // first: they need long stretches free
    station_records_ = station_records();
    boards(line);
    line.push_back("[fine]");
    train_records(train);
    return {join(line), join(train)};
  }

 private:
  static std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
  }
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
        out.push_back(record(std::string("progressiva chilometrica ") + names[i],
                             {50 * d_.in(0, length_ / 50), 50 * d_.in(0, 5000), d_.in(0, 2)}));
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
  void scenery(std::vector<std::string>& out) {
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
  }

  void boards(std::vector<std::string>& out) {
    for (int i = d_.in(0, 10); i > 0; --i) {
      const int c = free_cell(2, last_cell_ - 1);
      if (c < 0) continue;
      take(c, c);
      std::string r = "indicatori_vmax, " + n(50 * (c - 1));
      for (int v = 0; v < 3; ++v) r += ", " + n(d_.in(0, 200));
      r += ", " + n(d_.in(0, 9));
      for (int v = 0; v < 3; ++v) r += ", " + (d_.chance(30) ? n(5 * d_.in(0, 19)) : "");
      out.push_back(r + ", " + n(d_.in(0, 9)));
    }
    for (int i = 0; i < boards_; ++i) {
      const int c = free_cell(2, last_cell_ - 1);
      if (c < 0) continue;
      take(c, c);
      std::string text = name();
      if (d_.chance(30)) text = "\"" + text + ", " + name() + "\"";
      out.push_back("cartello indicatore, " + n(50 * (c - 1) + d_.in(-20, 20)) + ", " + text);
    }
  }

  std::vector<std::string> station_records() {
    std::vector<std::string> out;
    const int types[] = {5, 6, 7, 8, 12, 12, 12, 22, 24, 30};
    int end_before = -1000;
    for (int s = 1; s <= stations_; ++s) {
      const int type = types[d_.in(0, 9)];
      const int length = 100 * d_.in(1, stations_ == 78 ? 2 : 8);
      const int sixth = d_.in(0, 1);
      const int before = type >= 5 && type <= 8 ? length : length / 2;
      int pos = std::max(0, end_before + 350 + before);
      pos = 50 * ((pos + 49 + 50 * (stations_ == 78 ? 0 : d_.in(0, 40))) / 50);
      const int fine = pos + (type == 5 || type == 6   ? 150
                              : type == 7 || type == 8 ? length
                                                       : length / 2 + (sixth ? 50 : 0));
      const int stop = fine / 50 - 1;
      if (pos + 800 > 50 * last_cell_ || (type < 25 && (stop < 2 || !free(stop, stop)))) break;
      if (type < 25) take(stop, stop);
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
    return {50 * (k - 1),
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
  }
  std::string signal_line(const std::vector<std::int64_t>& v) {
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
    std::vector<int> cells;
    for (int i = d_.in(0, 25); i > 0; --i) {
      const int k = free_cell(8, last_cell_ - 2);
      if (k < 0) continue;
      take(k, k);
      signals.push_back(signal_line(signal(k)));
      // Another 100 to 300 m after it, over its approach marks.
      if (d_.chance(20) && free(k + 2, k + 6)) {
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
    out.insert(out.end(), station_records_.begin(), station_records_.end());
    out.push_back("[rallentamenti]");
    out.insert(out.end(), slowdowns_.begin(), slowdowns_.end());
    out.push_back("[segnali]");
    out.insert(out.end(), signals.begin() + static_cast<std::ptrdiff_t>(early), signals.end());
    out.push_back("[codici]");
    const int codes[] = {0, -3, 60, 180, 270, 40000};
    for (int i = d_.in(0, 4); i > 0; --i)
      if (const int c = free_cell(2, last_cell_ - 2); c >= 0) {
        take(c, c);
        out.push_back(record("abbattimento", {50 * c, codes[d_.in(0, 5)]}));
      }
    out.push_back("[fine]");
  }

  dice d_;
  int stations_ = 0, boards_ = 0, length_ = 0, last_cell_ = 0;
  std::vector<bool> taken_;
  std::vector<std::string> slowdowns_, station_records_, near_signals_;
};

bool fault_free(const generated_scenario& g, std::uint32_t seed) {
  const compile_result r =
      compile({"Gen", std::to_string(seed), true, {"line", g.line}, {"train", g.train}});
  return r.has_grid() && r.st.faults.empty() && r.stamp_conflict.empty();
}

}  // namespace

generated_scenario random_scenario(std::uint32_t seed) {
  // A draw that happens to fault (a station too close to the end, a board
  // on a station's stop cell) is drawn again from the next seed of a series.
  for (std::uint32_t attempt = 0;; ++attempt) {
    generated_scenario g = generator(seed * 7919u + attempt).make();
    if (fault_free(g, seed)) return g;
  }
}

}  // namespace scenario::testing
