// The order of the station and signal records: both write approach marks on
// the cells before them whatever those cells hold, so where two share a cell
// the one written later keeps its mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"
#include "model/stazioni.h"

namespace scenario {

struct record_order {
  std::vector<std::size_t> signals;  // the signals' indices in the order written
  std::vector<std::size_t> before;   // for each of those, the station it stands before
  // For each signal, by its index, the code sx x 3 + dx its marks ask for.
  std::vector<std::int64_t> codes;
};

// An order of the stations of records 1 to `stations` (which keep their
// order) and the signals, and a code for each signal, that leaves the
// approach mark of every cell as the grid shows it; as close as it can to
// all stations first, then the signals as given. Built from the back: the
// record written last is one whose marks every cell it marks still shows,
// its cells are then settled, and so on. `covered` are stop cells that may
// hide a signal written before the stop's station: one is written where
// the cell keeps a delay, or where its marks leave a mark no other record
// does; its index among the signals is signals.size() + its index in
// `covered`. Marks that no order leaves are the problems.
inverted<record_order> order_marks(const percorso_t& grid, const stazioni_t& table,
                                   std::size_t stations, const std::vector<signal_record>& signals,
                                   const std::vector<std::size_t>& covered = {});

// The train description's signals, in the order written.
struct signal_order {
  std::vector<signal_record> signals;
  std::vector<std::size_t> before;       // for each, the station it stands before
  std::vector<std::size_t> under_stops;  // the stop cells a signal stands under
};

// The signals of the grid's signal cells and those under station stops
// (see order_marks; not the stops in `over_slowdowns`, in increasing order:
// invert_slowdowns' under_stops), with the codes and the order that leave
// every mark.
inverted<signal_order> invert_signal_order(const percorso_t& grid, const stazioni_t& table,
                                           std::size_t stations,
                                           const std::vector<std::size_t>& over_slowdowns);

}  // namespace scenario
