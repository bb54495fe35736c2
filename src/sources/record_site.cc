#include "sources/record_site.h"

#include "common/text.h"
#include "sources/record_reader.h"

namespace scenario {

void record_site::begin() {
  line = reader_.field_line();
  column = reader_.field_column();
  begins_line = reader_.field_begins_line();
  comment_warned = false;
  reader_.mark_record();
}

void record_site::fault_at_value(std::int32_t code, std::size_t n,
                                 std::optional<std::int32_t> position) {
  const auto [at_line, at_column] = reader_.value_place(n);
  fault_at_column(code, position, at_line == line ? at_column : column);
}

void record_site::fault_at_column(std::int32_t code, std::optional<std::int32_t> position,
                                  int at_column) {
  fault f{code, position, origin_, line, {}};
  f.column = at_column;
  record_fault(st_, std::move(f));
}

void record_site::warn_value(std::size_t n, std::string what) {
  const auto [at_line, at_column] = reader_.value_place(n);
  warn_at(at_line, at_column, std::move(what));
}

void record_site::warn_at(int at_line, int at_column, std::string what) {
  record_warning(st_, {origin_, at_line, std::move(what), at_column});
}

void record_site::before_values(std::string_view field, std::string_view read_as) {
  if (!begins_line) return;
  if (looks_like_comment(field)) {
    comment_warned = true;
    warn(quoted_field(field) + " looks like a comment, but the format has none: it is read as " +
         (read_as.empty() ? std::string("a field that matches no keyword") : std::string(read_as)));
  }
  if (field.find('\t') != std::string_view::npos && (!read_as.empty() || looks_like_keyword(field)))
    warn(quoted_field(field) +
         " holds a tab, which is part of the keyword field: fields are separated by commas");
}

void record_site::after_values(bool last_was_text, bool (*begins_record)(std::string_view field)) {
  if (reader_.first_value_line() == 0) return;
  if (std::string what = extra_fields_warning(reader_, last_was_text, begins_record); !what.empty())
    warn_at(reader_.field_line(), reader_.rest_column(), std::move(what));
}

fault record_site::failure(const compile_failure& f) const {
  return failure_fault(f, reader_, origin_, line, column);
}

void record_site::resume_after_failure() {
  scenario::resume_after_failure(reader_, line);
}

}  // namespace scenario
