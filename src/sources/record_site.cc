#include "sources/record_site.h"

#include "common/text.h"
#include "model/scenario_constants.h"
#include "sources/record_reader.h"

namespace scenario {

void record_site::begin() {
  line = reader_.field_line();
  column = reader_.field_column();
  begins_line = reader_.field_begins_line();
  comment_warned = false;
  failed_value_.reset();
  reader_.mark_record();
}

void record_site::fault_at(std::int32_t code, std::optional<std::int32_t> position,
                           std::optional<source_note> cause,
                           std::optional<std::int64_t> taken_cell) {
  if (position)
    fault_at_first_value(code, position, std::move(cause), taken_cell);
  else
    fault_at_keyword(code, position, std::move(cause));
}

void record_site::fault_at_first_value(std::int32_t code, std::optional<std::int32_t> position,
                                       std::optional<source_note> cause,
                                       std::optional<std::int64_t> taken_cell) {
  int at_column = reader_.first_value_line() == line ? reader_.first_value_column() : column;
  if (line == 0) at_column = 0;
  fault_at_column(code, position, at_column, std::move(cause), taken_cell);
}

void record_site::fault_at_keyword(std::int32_t code, std::optional<std::int32_t> position,
                                   std::optional<source_note> cause) {
  fault_at_column(code, position, line == 0 ? 0 : column, std::move(cause));
}

void record_site::fault_at_value(std::int32_t code, std::size_t n,
                                 std::optional<std::int32_t> position) {
  const auto [at_line, at_column] = reader_.value_place(n);
  fault_at_column(code, position, at_line == line ? at_column : column);
}

void record_site::fault_at_column(std::int32_t code, std::optional<std::int32_t> position,
                                  int at_column, std::optional<source_note> cause,
                                  std::optional<std::int64_t> taken_cell) {
  fault f{code, position, origin_, line, {}};
  f.column = at_column;
  if (cause && cause->line > 0) {
    f.cause_line = cause->line;
    f.cause_column = cause->column;
    f.cause_what = std::move(cause->what);
  }
  record_fault(st_, std::move(f), taken_cell);
}

void record_site::warn_value(std::size_t n, warning_group group, std::string what,
                             std::vector<source_note> notes) {
  const auto [at_line, at_column] = reader_.value_place(n);
  warn_at(at_line, at_column, group, std::move(what), std::move(notes));
}

void record_site::warn_beyond_end(const record_spec& kind, std::int32_t position, std::size_t n) {
  const std::optional<std::int32_t> end = route_end(st_);
  if (!end || position <= *end) return;
  const std::string at = std::to_string(position);
  const std::string length = std::to_string(*end);
  warn_value(n, warning_group::beyond_end,
             "the " + std::string(without_article(kind.read_as)) + " at " + at +
                 " m stands past the route's end (" + length + " m), in the " +
                 std::to_string(k_route_margin) +
                 " m the grid runs on beyond it; the line ends before it",
             {{fault_origin::line_file, st_.route_length_line, 0,
               "the route length " + length + " m is set here"}});
}

void record_site::warn_at(int at_line, int at_column, warning_group group, std::string what,
                          std::vector<source_note> notes) {
  record_warning(st_, {origin_, at_line, std::move(what), at_column, group, std::move(notes)});
}

void record_site::before_values(std::string_view field, std::vector<const record_spec*> read_as) {
  kinds = std::move(read_as);
  const bool tab = field.find('\t') != std::string_view::npos;
  // A tab in the keyword field is said below, numbers after it included.
  if (!tab)
    if (warning_words w = swallowed_number_warning(field, kinds); !w.what.empty())
      warn_at(line, column + w.column - 1, w.group, std::move(w.what));
  if (!begins_line) return;
  if (looks_like_comment(field)) {
    comment_warned = true;
    warn(warning_group::comment,
         quoted_field(field) + " looks like a comment, but the format has none: it is read as " +
             (kinds.empty() ? std::string("a field that matches no keyword")
                            : read_as_words(kinds)));
  }
  if (tab && (!kinds.empty() || looks_like_keyword(field)))
    warn(warning_group::separator,
         quoted_field(field) +
             " holds a tab, which is part of the keyword field: fields are separated by commas");
}

void record_site::after_values(bool last_was_text, bool (*begins_record)(std::string_view field)) {
  if (reader_.first_value_line() == 0) return;
  if (warning_words w = extra_fields_warning(reader_, last_was_text, begins_record);
      !w.what.empty())
    warn_at(reader_.field_line(), w.column, w.group, std::move(w.what));
}

fault record_site::failure(const compile_failure& f) const {
  fault out = failure_fault(f, reader_, origin_, line, column, kinds);
  if (failed_value_) {
    const auto [at_line, at_column] = reader_.value_place(*failed_value_);
    if (at_line == out.line) out.column = at_column;
  }
  return out;
}

void record_site::resume_after_failure() {
  scenario::resume_after_failure(reader_, line);
}

}  // namespace scenario
