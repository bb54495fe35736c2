// The record a compiler is reading, and where its faults and warnings point:
// the keyword field's line and column, or the field of one of its values.
// Both compilers report through it, so that a diagnostic of either format
// points the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/compile_failure.h"
#include "common/warning_groups.h"
#include "model/run_state.h"
#include "sources/field_reader.h"
#include "sources/keyword_table.h"

namespace scenario {

class record_site {
 public:
  record_site(field_reader& reader, run_state& st, fault_origin origin)
      : reader_(reader), st_(st), origin_(origin) {}

  // The keyword field of a record has just been read: what follows is its.
  void begin();
  // No record is being read: a failure now is no record's.
  void clear() {
    line = 0;
    kinds.clear();
    failed_value_.reset();
  }

  // A fault of the record: at its first value's field (its position's, for
  // the records that have one) when the fault has a position, otherwise at
  // its keyword field. taken_cell: the grid cell the fault found taken.
  void fault_at(std::int32_t code, std::optional<std::int32_t> position = std::nullopt,
                std::optional<source_note> cause = std::nullopt,
                std::optional<std::int64_t> taken_cell = std::nullopt);
  // A fault at the record's first value's field when that stands on the
  // record's line, otherwise at its keyword field; column 0 when no record
  // is read.
  void fault_at_first_value(std::int32_t code, std::optional<std::int32_t> position,
                            std::optional<source_note> cause = std::nullopt,
                            std::optional<std::int64_t> taken_cell = std::nullopt);
  // A fault at the record's keyword field; column 0 when no record is read.
  void fault_at_keyword(std::int32_t code, std::optional<std::int32_t> position = std::nullopt,
                        std::optional<source_note> cause = std::nullopt);
  // A fault of the record that concerns its value n (from 0): at that value's
  // field when it stands on the record's line, otherwise at the keyword.
  void fault_at_value(std::int32_t code, std::size_t n,
                      std::optional<std::int32_t> position = std::nullopt);
  // A fault at the given column of the record's line; cause: a note at the
  // record where its cause lies; taken_cell: the grid cell it found taken.
  void fault_at_column(std::int32_t code, std::optional<std::int32_t> position, int column,
                       std::optional<source_note> cause = std::nullopt,
                       std::optional<std::int64_t> taken_cell = std::nullopt);

  // A warning of a group at the keyword field, at value n's field, or
  // anywhere, with notes where its cause lies elsewhere.
  void warn(warning_group group, std::string what) {
    warn_at(line, column, group, std::move(what));
  }
  void warn_value(std::size_t n, warning_group group, std::string what,
                  std::vector<source_note> notes = {});
  // When position (value n of a record of the kind) lies past the route's
  // end, in the grid's run-out: a warning at the value, with a note at the
  // route-length record.
  void warn_beyond_end(const record_spec& kind, std::int32_t position, std::size_t n);
  void warn_at(int at_line, int at_column, warning_group group, std::string what,
               std::vector<source_note> notes = {});

  // What the keyword field says of its author's intent, before its values
  // are read (reading them may fail). read_as: the kinds it is read as, kept
  // for a record that runs short.
  void before_values(std::string_view field, std::vector<const record_spec*> read_as);
  // What stands after the record's last value on its line; begins_record
  // tells a keyword read where it stands. last_was_text: that value is a text.
  void after_values(bool last_was_text, bool (*begins_record)(std::string_view field));

  // A run-time failure of the record, as a fault: at value n's field when
  // blame_value(n) named the value whose size made it fail.
  fault failure(const compile_failure& f) const;
  void blame_value(std::size_t n) { failed_value_ = n; }
  // After a fault in keep-going mode: the reader goes where the next record begins.
  void resume_after_failure();

  int line = 0;                           // the keyword field's line; 0 when no record is read
  int column = 0;                         // and its column
  bool begins_line = false;               // the keyword field is the first of its line
  bool comment_warned = false;            // the keyword field was taken for a comment
  std::vector<const record_spec*> kinds;  // the kinds the keyword field is read as

 private:
  field_reader& reader_;
  run_state& st_;
  fault_origin origin_;
  std::optional<std::size_t> failed_value_;
};

}  // namespace scenario
