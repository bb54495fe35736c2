// The route grid: one cell per 50 m of line, cells 0 to P, P = (L + 7000) / 50
// rounded half to even. Each cell holds at most one object (a signal, a
// slowdown mark, a board, a station stop, a code point) and the continuous
// properties of the line over it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// X(name, tipo_cella, words): every kind of object a cell can hold. Kinds 7
// to 9 and above 14 are never written.
#define SCENARIO_CELL_KINDS(X)                      \
  X(k_empty, 0, "empty")                            \
  X(k_signal, 1, "signal")                          \
  X(k_slowdown_end, 2, "slowdown end")              \
  X(k_slowdown_start, 3, "slowdown start")          \
  X(k_slowdown_warning, 4, "slowdown warning")      \
  X(k_slowdown_approach, 5, "slowdown approach")    \
  X(k_speed_board, 6, "speed board")                \
  X(k_station_stop, 10, "station stop")             \
  X(k_scenery_marker, 11, "scenery marker")         \
  X(k_code_point, 12, "code point")                 \
  X(k_code_point_plain, 13, "code point, no value") \
  X(k_text_board, 14, "text board")

#define SCENARIO_CELL_KIND_ENUM(name, value, words) name = value,
enum cell_kind : std::uint8_t { SCENARIO_CELL_KINDS(SCENARIO_CELL_KIND_ENUM) };
#undef SCENARIO_CELL_KIND_ENUM

// True for the kinds a compiler writes.
bool known_cell_kind(std::uint8_t tipo_cella);

// tipo_cella in words; "unknown kind" for a value no compiler writes.
std::string_view cell_kind_name(std::uint8_t tipo_cella);

// X(field, type): the fields of one cell, in the order of the route grid file.
//   ritardo     clearing delay of a signal here
//   preavviso   approach mark before a signal or a station stop
//   ambiente    scenery type
//   vel_limite  the train's speed limit, in 5 km/h
//   pendenza    gradient + 100
//   aderenza    adhesion
#define SCENARIO_CELLA_FIELDS(X) \
  X(tipo_cella, std::uint8_t)    \
  X(valore_a, std::int16_t)      \
  X(valore_b, std::int16_t)      \
  X(valore_c, std::int16_t)      \
  X(valore_d, std::int16_t)      \
  X(ritardo, std::uint8_t)       \
  X(preavviso, std::uint8_t)     \
  X(ambiente, std::uint8_t)      \
  X(vel_limite, std::uint8_t)    \
  X(pendenza, std::uint8_t)      \
  X(aderenza, std::uint8_t)

struct cella {
#define SCENARIO_CELLA_MEMBER(field, type) type field = 0;
  SCENARIO_CELLA_FIELDS(SCENARIO_CELLA_MEMBER)
#undef SCENARIO_CELLA_MEMBER

  friend bool operator==(const cella&, const cella&) = default;
};

// Cells 0 to P; empty until the line compiler reads the route length.
//
// The grid holds its cells and lets them be changed only through its own
// calls, so that a compile that traces which record made each object can
// hand it a list (note_writes): every cell reached through the non-const []
// is added to it, and an assign, an assignment of another grid or a walk
// over its cells to change them adds k_whole_grid. The tracing then compares only those cells after
// each record, not the whole grid: its cost follows what the records write. The list may hold cells
// only read, and cells twice.
class percorso_t {
 public:
  using size_type = std::size_t;
  using value_type = cella;
  using iterator = std::vector<cella>::iterator;
  using const_iterator = std::vector<cella>::const_iterator;
  static constexpr std::size_t k_whole_grid = static_cast<std::size_t>(-1);

  percorso_t() = default;
  // n empty cells.
  explicit percorso_t(size_type n) : cells_(n) {}
  // A copy or a moved grid is a grid of its own, noting nothing.
  percorso_t(const percorso_t& other) : cells_(other.cells_) {}
  percorso_t(percorso_t&& other) noexcept : cells_(std::move(other.cells_)) {}
  percorso_t& operator=(const percorso_t& other) {
    cells_ = other.cells_;
    note(k_whole_grid);
    return *this;
  }
  percorso_t& operator=(percorso_t&& other) noexcept {
    cells_ = std::move(other.cells_);
    note(k_whole_grid);
    return *this;
  }
  ~percorso_t() = default;

  cella& operator[](size_type n) {
    note(n);
    return cells_[n];
  }
  const cella& operator[](size_type n) const { return cells_[n]; }
  // n cells, each a copy of value.
  void assign(size_type n, const cella& value) {
    cells_.assign(n, value);
    note(k_whole_grid);
  }

  size_type size() const { return cells_.size(); }
  bool empty() const { return cells_.empty(); }
  const_iterator begin() const { return cells_.begin(); }
  const_iterator end() const { return cells_.end(); }
  // Every cell, to change: noted as the whole grid.
  iterator begin() {
    note(k_whole_grid);
    return cells_.begin();
  }
  iterator end() { return cells_.end(); }
  // The cells, to read.
  const std::vector<cella>& cells() const { return cells_; }

  // Where cells written from now on are noted; null for nowhere.
  void note_writes(std::vector<std::size_t>* cells) { written_ = cells; }

  friend bool operator==(const percorso_t& a, const percorso_t& b) { return a.cells_ == b.cells_; }

 private:
  void note(std::size_t n) {
    if (written_ != nullptr) written_->push_back(n);
  }

  std::vector<cella> cells_;
  std::vector<std::size_t>* written_ = nullptr;
};

// A cell is free for a new object when it is empty or holds only a scenery
// marker, which any object may replace.
inline bool is_free(const cella& c) {
  return c.tipo_cella == k_empty || c.tipo_cella == k_scenery_marker;
}

// The last cell index P of a grid that exists.
inline std::int32_t last_cell(const percorso_t& grid) {
  return static_cast<std::int32_t>(grid.size()) - 1;
}

// True when index names a cell of the grid.
inline bool in_grid(const percorso_t& grid, std::int64_t index) {
  return index >= 0 && index < static_cast<std::int64_t>(grid.size());
}

// The cell of a point object at position p metres: p / 50 + 1, rounded half
// to even.
std::int64_t point_cell(std::int32_t p);
// The position a point object in cell k is read back at: (k - 1) x 50, the
// start of the cell before, which point_cell takes to cell k.
std::int32_t point_position(std::int64_t k);

// Cell index of grid, for an object at position metres (nothing for a fill).
// An index outside the grid is a run-time failure of the compile: throws
// compile_failure ("object would lie outside the route grid").
cella& cell_at(percorso_t& grid, std::int64_t index,
               std::optional<std::int32_t> position = std::nullopt);

}  // namespace scenario
