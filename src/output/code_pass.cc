#include "output/code_pass.h"

#include "model/fault_codes.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

constexpr std::int16_t k_interval_speed = 110;  // slowdowns below this get interval marks

class pass {
 public:
  explicit pass(run_state& st) : st_(st), grid_(st.percorso), last_(last_cell(st.percorso)) {}

  void run();

 private:
  void before_warning(std::int64_t i);
  void before_start(std::int64_t i);
  std::int64_t through_slowdown(std::int64_t i);
  void after_end(std::int64_t e);

  // Cells outside the grid are neither free nor anything else.
  cella* at(std::int64_t c) {
    return in_grid(grid_, c) ? &grid_[static_cast<std::size_t>(c)] : nullptr;
  }
  bool free_at(std::int64_t c) {
    const cella* cell = at(c);
    return cell != nullptr && is_free(*cell);
  }
  bool kind_at(std::int64_t c, std::uint8_t kind) {
    const cella* cell = at(c);
    return cell != nullptr && cell->tipo_cella == kind;
  }
  void mark(std::int64_t c) { write_pass_code_point(grid_[static_cast<std::size_t>(c)]); }
  void lower(std::int64_t c) {
    cella& cell = grid_[static_cast<std::size_t>(c)];
    cell.valore_a = static_cast<std::int16_t>(minimo(k_pass_code, cell.valore_a));
  }
  void fault_at(std::int32_t code, std::int64_t cell) {
    record_fault(
        st_, {code, static_cast<std::int32_t>(cell * k_cell_metres), fault_origin::pass, 0, {}});
  }

  run_state& st_;
  percorso_t& grid_;
  std::int64_t last_;
};

void pass::run() {
  for (std::int64_t i = 1; i <= last_ - 2; ++i) {
    const std::uint8_t kind = grid_[static_cast<std::size_t>(i)].tipo_cella;
    if (kind == k_slowdown_warning) {
      before_warning(i);
    } else if (kind == k_slowdown_start) {
      before_start(i);
      if (grid_[static_cast<std::size_t>(i)].valore_a < k_interval_speed) {
        const std::int64_t end = through_slowdown(i);
        if (kind_at(end, k_slowdown_end)) after_end(end);
      }
    }
  }
}

// Rule A.
void pass::before_warning(std::int64_t i) {
  for (std::int64_t k = 1; k <= 20; ++k) {
    const std::int64_t s = i - k;
    if (s < 3) return;
    if (!kind_at(s, k_signal)) continue;
    if (free_at(s - 1))
      mark(s - 1);
    else if (free_at(s - 2))
      mark(s - 2);
    else if (kind_at(s - 1, k_code_point))
      lower(s - 1);
    else if (kind_at(s - 2, k_code_point))
      lower(s - 2);
    else
      fault_at(k_fault_signal_code_point, s);
  }
}

// Rule B1.
void pass::before_start(std::int64_t i) {
  struct band {
    std::int64_t applies_above, nearest;
  };
  for (const band b : {band{7, 5}, band{13, 11}, band{20, 18}}) {
    if (i <= b.applies_above) continue;
    bool placed = false;
    for (std::int64_t c = i - b.nearest; c >= i - b.nearest - 2 && !placed; --c) {
      if (free_at(c)) {
        mark(c);
        placed = true;
      }
    }
    if (!placed) fault_at(k_fault_band_code_point, i);
  }
}

// Rule B2: returns the cell where the walk stopped, the slowdown's end or the
// grid's last cell.
std::int64_t pass::through_slowdown(std::int64_t i) {
  std::int64_t c = 0;
  std::int64_t k = i;
  while (k < last_) {
    ++k;
    ++c;
    if (c == 8) {
      if (free_at(k)) {
        mark(k);
        c = 0;
      } else if (free_at(k - 1)) {
        mark(k - 1);
        c = 1;
      } else if (free_at(k + 1)) {
        mark(k + 1);
        c = -1;
      } else {
        fault_at(k_fault_slowdown_code_point, k);
      }
    }
    if (kind_at(k, k_slowdown_end)) break;
  }
  return k;
}

// Rule B3.
void pass::after_end(std::int64_t e) {
  for (std::int64_t n = e; n <= e + 12 && n <= last_; ++n) {
    if (!kind_at(n, k_signal)) continue;
    const std::int64_t t = n - 1;
    if (free_at(t))
      mark(t);
    else if (free_at(t - 1))
      mark(t - 1);
    else
      fault_at(k_fault_slowdown_code_point, e);
    return;
  }
}

}  // namespace

std::int32_t minimo(std::int32_t x, std::int32_t y) {
  return x > y ? y : x;
}

void code_point_pass(run_state& st) {
  if (st.percorso.empty()) return;
  pass(st).run();
}

}  // namespace scenario
