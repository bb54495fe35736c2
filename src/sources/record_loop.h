// What both compilers share around their record functions: the loop that
// finds each record's keyword field, the guard that lets a check go on after
// a run-time failure, the position check of body records, and the words
// both formats use for the same mistake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/compile_failure.h"
#include "model/percorso.h"
#include "model/run_state.h"
#include "sources/field_reader.h"
#include "sources/keyword_table.h"
#include "sources/record_site.h"

namespace scenario {

// What a record leaves the reading loop to do next.
enum class next_step { go_on, soft_stop, hard_stop };

// A number as the messages write it.
inline std::string num(std::int64_t v) {
  return std::to_string(v);
}

// The position check of body records: p + 100 <= 50 * P. Exactly, in 64
// bits: a position near the 32-bit limit fails the check rather than the sum.
bool position_fits(const percorso_t& grid, std::int32_t p);

// When p fails the position check: its fault (code 15, a soft stop) at the
// record's position field, and true.
bool stops_near_end(record_site& site, const percorso_t& grid, std::int32_t p);

// The free cell that a record at p puts its object into; nothing when
// another object holds it, with the fault code reported at p, naming that
// cell's holder.
cella* free_cell_or_fault(record_site& site, percorso_t& grid, std::int64_t cell, std::int32_t p,
                          std::int32_t code);

// The warning about a record at p past the route's end (record_site's
// warn_beyond_end), said only when p passes the position check: a record
// that fails it stops the reading there.
void warn_beyond_end(record_site& site, const percorso_t& grid, const record_spec& kind,
                     std::int32_t p);

// How a compiler's loop looks for its records' keyword fields.
struct keyword_search {
  int max_dashed;  // fields holding "-" passed over in a row
  bool check_end_between;
  // Whether a field holds a keyword, for the warning about the last field.
  bool (*is_keyword)(std::string_view field);
};

// Reads on to the next record's keyword field, into field, and begins that
// record at site; false when nothing is left to read. A keyword in the
// text's last field is never read: a warning says so.
bool next_record(field_reader& reader, record_site& site, std::string& field,
                 const keyword_search& search);

// Runs one record's step. In keep-going mode a run-time failure is recorded
// as to_fault makes it, the reader goes where the next record begins and the
// result is nothing; otherwise the failure ends the compile.
template <typename Step, typename ToFault>
auto guarded(compile_context& st, record_site& site, Step step, ToFault to_fault)
    -> std::optional<decltype(step())> {
  try {
    return step();
  } catch (const compile_failure& f) {
    if (!st.keep_going) throw;
    record_fault(st, to_fault(f));
    site.resume_after_failure();
    return std::nullopt;
  }
}

// Compiles text with a Compiler (constructed from the text and st; its
// run() reads the records, its failure() makes a run-time failure a
// fault): a run-time failure ends the compile, recorded as a fault.
template <typename Compiler>
compile_end compile_with(std::string_view text, run_state& st) {
  Compiler compiler(text, st);
  try {
    return compiler.run();
  } catch (const compile_failure& failure) {
    record_fault(st, compiler.failure(failure));
    return compile_end::runtime_failure;
  }
}

// Records that fill the cells up to their own stand in increasing order of
// cell. Warns when p's cell is not after previous, the cell of the record of
// the same kind (what) before it; then p's cell is the previous one.
void warn_unless_later_cell(record_site& site, std::optional<std::int64_t>& previous,
                            std::string_view what, std::int32_t p);

// A record every description of its format should hold is left out (it is
// named by keywords): value says what the compile keeps in its place.
void warn_missing_record(record_site& site, const record_spec& kind, std::string_view keywords,
                         std::string_view value);

}  // namespace scenario
