// decompile and its check on any three files that the decoders accept. The
// input is the grid's and the station file's byte counts (4 bytes each,
// little-endian), then the grid, the station file and the plan.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "inspect/decompile.h"
#include "inspect/self_check.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"

namespace {

std::uint32_t count_at(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  std::string_view bytes = fuzz::as_text(data, size);
  if (bytes.size() < 8) return 0;
  const std::size_t grid_bytes = count_at(bytes, 0), table_bytes = count_at(bytes, 4);
  bytes.remove_prefix(8);
  if (grid_bytes > bytes.size() || table_bytes > bytes.size() - grid_bytes) return 0;
  auto grid = decode_grid(bytes.substr(0, grid_bytes));
  auto table = decode_stations(bytes.substr(grid_bytes, table_bytes));
  auto plan = decode_plan(bytes.substr(grid_bytes + table_bytes));
  if (!grid.ok() || !table.ok() || !plan.ok()) return 0;
  loaded_scenario s;
  s.grid.grid = std::move(grid.value());
  s.stations.stations = std::move(table.value());
  s.plan.plan = std::move(plan.value());
  const decompiled d = decompile(s);
  const self_check check = check_decompiled(s, d, "line", "train");
  // A scenario told as coming back exactly must compile to the same bytes.
  if (check.same_files && serialise_grid(check.compiled.st.percorso) != serialise_grid(s.grid.grid))
    __builtin_trap();
  return 0;
}
