#include "inspect/mark_order.h"

#include <algorithm>
#include <map>
#include <optional>
#include <queue>
#include <string>

#include "common/numeric.h"
#include "inspect/invert_signals.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

using marks = std::vector<std::pair<std::int64_t, std::uint8_t>>;  // cell, mark

// A station of a type below 25 other than 5 and 6 marks the four cells
// before its stop cell, those after cell 1, with 81 (nearest) to 84.
marks station_marks(const stazione& s) {
  marks out;
  if (s.tipo_stazione >= 25 || s.tipo_stazione == 5 || s.tipo_stazione == 6) return out;
  const std::int64_t stop = s.fine / k_cell_metres - 1;
  for (int b = 1; b <= 4; ++b)
    if (stop - b > 1) out.push_back({stop - b, static_cast<std::uint8_t>(80 + b)});
  return out;
}

// A signal marks the cells 2, 4, 6 and 8 before its own with code x 10 + 1 to 4.
marks signal_marks(const signal_values& s) {
  marks out;
  const std::int64_t k = s[0] / k_cell_metres + 1;
  for (int b = 1; b <= 4; ++b)
    out.push_back({k - 2 * std::int64_t{b}, low_8(std::int64_t{signal_code(s)} * 10 + b)});
  return out;
}

using cover_list = std::vector<std::pair<std::size_t, std::uint8_t>>;  // writer, its mark

// The writers in an order that keeps every edge first -> then, built from
// the back (the latest writer free to go last each time) so that as few
// signals as can be move before stations; nothing when the edges loop.
std::optional<std::vector<std::size_t>> order_of(
    const std::vector<std::vector<std::size_t>>& after) {
  const std::size_t n = after.size();
  std::vector<std::size_t> following(n, 0);
  std::vector<std::vector<std::size_t>> before_of(n);
  for (std::size_t w = 0; w < n; ++w) {
    following[w] = after[w].size();
    for (std::size_t then : after[w]) before_of[then].push_back(w);
  }
  std::priority_queue<std::size_t> free_to_go_last;
  for (std::size_t w = 0; w < n; ++w)
    if (following[w] == 0) free_to_go_last.push(w);
  std::vector<std::size_t> order;
  while (!free_to_go_last.empty()) {
    const std::size_t w = free_to_go_last.top();
    free_to_go_last.pop();
    order.push_back(w);
    for (std::size_t first : before_of[w])
      if (--following[first] == 0) free_to_go_last.push(first);
  }
  if (order.size() < n) return std::nullopt;
  std::reverse(order.begin(), order.end());
  return order;
}

using edges = std::vector<std::vector<std::size_t>>;  // edges[a]: writers that must follow a
using shared_mark = std::pair<const cover_list*, std::uint8_t>;  // writers of a cell, its mark

// The writers of a cell but `last` go before it.
void put_last(edges& after, const cover_list& list, std::size_t last) {
  for (const auto& [w, m] : list)
    if (w != last) after[w].push_back(last);
}

// An order keeping the edges where, for each cell that several writers
// leave its mark on, one of them goes last: the one latest in the order of
// the other edges, added as an edge of its own until the order holds.
std::optional<std::vector<std::size_t>> settled_order(edges& after,
                                                      const std::vector<shared_mark>& shared) {
  for (int round = 0; round < 8; ++round) {
    std::optional<std::vector<std::size_t>> order = order_of(after);
    if (!order) return order;
    std::vector<std::size_t> place(after.size());
    for (std::size_t i = 0; i < order->size(); ++i) place[(*order)[i]] = i;
    bool settled = true;
    for (const auto& [list, mark] : shared) {
      std::size_t last = list->front().first;
      std::optional<std::size_t> latest_leaving;
      for (const auto& [w, m] : *list) {
        if (place[w] > place[last]) last = w;
        if (m == mark && (!latest_leaving || place[w] > place[*latest_leaving])) latest_leaving = w;
      }
      if (last == *latest_leaving) continue;
      put_last(after, *list, *latest_leaving);
      settled = false;
    }
    if (settled) return order;
  }
  return order_of(after);
}

}  // namespace

inverted<record_order> order_marks(const percorso_t& grid, const stazioni_t& table,
                                   std::size_t stations,
                                   const std::vector<signal_values>& signals) {
  // Writers 0 to stations - 1 are the stations, then the signals.
  std::vector<marks> writers;
  for (std::size_t s = 1; s <= stations; ++s) writers.push_back(station_marks(table[s]));
  for (const signal_values& s : signals) writers.push_back(signal_marks(s));
  const std::size_t n = writers.size();
  std::map<std::int64_t, cover_list> cover;
  for (std::size_t w = 0; w < n; ++w)
    for (const auto& [cell, mark] : writers[w]) cover[cell].push_back({w, mark});

  inverted<record_order> out;
  edges after(n);
  for (std::size_t s = 1; s < stations; ++s) after[s - 1].push_back(s);
  // One writer of a cell's mark goes after the others; where several
  // write that mark, which one is settled once the others are in order.
  std::vector<shared_mark> shared;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const std::uint8_t mark = grid[c].preavviso;
    const auto found = cover.find(static_cast<std::int64_t>(c));
    const std::string at = "cell " + std::to_string(c) + ": approach mark " + std::to_string(mark);
    if (found == cover.end()) {
      if (mark != 0) out.problems.push_back(at + " that no station or signal writes");
      continue;
    }
    std::vector<std::size_t> leaving;
    for (const auto& [w, m] : found->second)
      if (m == mark) leaving.push_back(w);
    if (leaving.empty())
      out.problems.push_back(at + ", which none of the stations and signals marking it writes");
    else if (leaving.size() == 1)
      put_last(after, found->second, leaving[0]);
    else
      shared.push_back({&found->second, mark});
  }

  std::optional<std::vector<std::size_t>> order = settled_order(after, shared);
  if (!order) {
    out.problems.push_back(
        "the approach marks of the stations and signals ask for an order that no file can "
        "have; they stand in running order");
    order.emplace();
    for (std::size_t w = 0; w < n; ++w) order->push_back(w);
  }
  std::size_t stations_written = 0;
  for (std::size_t w : *order) {
    if (w < stations) {
      ++stations_written;
      continue;
    }
    out.records.signals.push_back(w - stations);
    out.records.before.push_back(stations_written);
  }
  return out;
}

}  // namespace scenario
