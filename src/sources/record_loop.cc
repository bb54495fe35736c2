#include "sources/record_loop.h"

#include "common/numeric.h"
#include "common/text.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "sources/record_reader.h"

namespace scenario {

bool position_fits(const percorso_t& grid, std::int32_t p) {
  return std::int64_t{p} + 100 <= k_cell_metres * std::int64_t{last_cell(grid)};
}

bool stops_near_end(record_site& site, const percorso_t& grid, std::int32_t p) {
  if (position_fits(grid, p)) return false;
  site.fault_at_first_value(k_fault_near_end, p);
  return true;
}

cella* free_cell_or_fault(record_site& site, percorso_t& grid, std::int64_t cell, std::int32_t p,
                          std::int32_t code) {
  cella& held = cell_at(grid, cell, p);
  if (is_free(held)) return &held;
  site.fault_at(code, p, std::nullopt, cell);
  return nullptr;
}

void warn_beyond_end(record_site& site, const percorso_t& grid, const record_spec& kind,
                     std::int32_t p) {
  if (position_fits(grid, p)) site.warn_beyond_end(kind, p, 0);
}

bool next_record(field_reader& reader, record_site& site, std::string& field,
                 const keyword_search& search) {
  // A read that fails before the next keyword is no record's.
  site.clear();
  const keyword_read next =
      next_keyword(reader, field, search.max_dashed, search.check_end_between);
  if (next == keyword_read::end) return false;
  if (next == keyword_read::last_field) {
    if (search.is_keyword(field))
      site.warn_at(reader.field_line(), 0, warning_group::last_field,
                   quoted_field(field) +
                       " is the file's last field and is never read; end the file with a line "
                       "that is not a record, such as [fine]");
    return false;
  }
  site.begin();
  return true;
}

void warn_unless_later_cell(record_site& site, std::optional<std::int64_t>& previous,
                            std::string_view what, std::int32_t p) {
  const std::int64_t cell = round_half_even(p, k_cell_metres);
  if (previous && cell <= *previous)
    site.warn_value(0, warning_group::order,
                    std::string(what) + " at " + num(p) +
                        " m is not in a later 50 m cell than the " + std::string(what) +
                        " before it; these records must stand in increasing order of position, "
                        "at most one per cell, or the cells around them get the wrong value");
  previous = cell;
}

void warn_missing_record(record_site& site, const record_spec& kind, std::string_view keywords,
                         std::string_view value) {
  site.warn_at(0, 0, warning_group::missing_record,
               "no " + std::string(without_article(kind.read_as)) + " (" + std::string(keywords) +
                   "): " + std::string(value));
}

}  // namespace scenario
