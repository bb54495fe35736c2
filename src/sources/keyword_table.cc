#include "sources/keyword_table.h"

#include <array>

#include "common/text.h"

namespace scenario {
namespace {

#define SCENARIO_LIST(...) __VA_ARGS__
#define SCENARIO_FIELD(name, unit, width, meaning) \
  field_spec {                                     \
    name, unit, field_width::width, meaning        \
  }

// Each kind's words, keywords and fields as arrays of their own.
#define SCENARIO_KIND_ARRAYS(prefix, kind, part, match, words, keywords, sections, read_as, \
                             fields)                                                        \
  constexpr std::string_view prefix##kind##_words[] = {SCENARIO_LIST words};                \
  constexpr std::string_view prefix##kind##_keywords[] = {SCENARIO_LIST keywords};          \
  constexpr field_spec prefix##kind##_fields[] = {SCENARIO_LIST fields};
#define SCENARIO_LINE_ARRAYS(...) SCENARIO_KIND_ARRAYS(k_line_, __VA_ARGS__)
#define SCENARIO_TRAIN_ARRAYS(...) SCENARIO_KIND_ARRAYS(k_train_, __VA_ARGS__)
SCENARIO_LINE_RECORDS(SCENARIO_LINE_ARRAYS, SCENARIO_FIELD)
SCENARIO_TRAIN_RECORDS(SCENARIO_TRAIN_ARRAYS, SCENARIO_FIELD)

#define SCENARIO_RECORD_SPEC(prefix, kind_type, kind, part, match, words, keywords, sections, \
                             read_as, fields)                                                 \
  record_spec{static_cast<int>(kind_type::kind),                                              \
              static_cast<int>(kind_type::kind),                                              \
              record_part::part,                                                              \
              letter_case::match,                                                             \
              prefix##kind##_words,                                                           \
              prefix##kind##_keywords,                                                        \
              sections,                                                                       \
              read_as,                                                                        \
              prefix##kind##_fields},
#define SCENARIO_LINE_SPEC(...) SCENARIO_RECORD_SPEC(k_line_, line_record, __VA_ARGS__)
#define SCENARIO_TRAIN_SPEC(...) SCENARIO_RECORD_SPEC(k_train_, train_record, __VA_ARGS__)
// The enumerators follow the rows, so a kind's number is its test order.
constexpr record_spec k_line_table[] = {SCENARIO_LINE_RECORDS(SCENARIO_LINE_SPEC, SCENARIO_FIELD)};
constexpr record_spec k_train_table[] = {
    SCENARIO_TRAIN_RECORDS(SCENARIO_TRAIN_SPEC, SCENARIO_FIELD)};

#undef SCENARIO_TRAIN_SPEC
#undef SCENARIO_LINE_SPEC
#undef SCENARIO_RECORD_SPEC
#undef SCENARIO_TRAIN_ARRAYS
#undef SCENARIO_LINE_ARRAYS
#undef SCENARIO_KIND_ARRAYS
#undef SCENARIO_FIELD
#undef SCENARIO_LIST

bool in_part(const record_spec& r, record_part part) {
  return part == record_part::anywhere || r.part == record_part::anywhere || r.part == part;
}

// The keywords as written of the kinds of one part, flattened once.
std::vector<std::string_view> flattened(description_format format, record_part part) {
  std::vector<std::string_view> out;
  for (const record_spec& r : keyword_table(format))
    if (in_part(r, part)) out.insert(out.end(), r.keywords.begin(), r.keywords.end());
  return out;
}

}  // namespace

std::span<const record_spec> keyword_table(description_format format) {
  if (format == description_format::line) return k_line_table;
  return k_train_table;
}

const record_spec& record_of(line_record kind) {
  return k_line_table[static_cast<std::size_t>(kind)];
}

const record_spec& record_of(train_record kind) {
  return k_train_table[static_cast<std::size_t>(kind)];
}

std::string_view section_header(section name) {
#define SCENARIO_SECTION_HEADER(name, header) header,
  static constexpr std::string_view k_headers[] = {SCENARIO_SECTIONS(SCENARIO_SECTION_HEADER)};
#undef SCENARIO_SECTION_HEADER
  return k_headers[static_cast<std::size_t>(name)];
}

std::string_view usual_keyword(line_record kind) {
  return record_of(kind).keywords.front();
}

std::string_view usual_keyword(train_record kind) {
  return record_of(kind).keywords.front();
}

bool field_holds(const record_spec& record, std::string_view field, bool any_case) {
  const bool exact = record.match == letter_case::exact && !any_case;
  for (std::string_view word : record.words)
    if (!(exact ? contains(field, word) : contains_ignoring_case(field, word))) return false;
  return true;
}

bool field_holds(line_record kind, std::string_view field) {
  return field_holds(record_of(kind), field);
}

bool field_holds(train_record kind, std::string_view field) {
  return field_holds(record_of(kind), field);
}

std::vector<const record_spec*> records_read_as(description_format format, record_part part,
                                                std::string_view field) {
  std::vector<const record_spec*> out;
  for (const record_spec& r : keyword_table(format))
    if (in_part(r, part) && field_holds(r, field)) out.push_back(&r);
  return out;
}

bool holds_keyword(description_format format, record_part part, std::string_view field,
                   bool any_case) {
  for (const record_spec& r : keyword_table(format))
    if (in_part(r, part) && field_holds(r, field, any_case)) return true;
  return false;
}

std::string read_as_words(std::span<const record_spec* const> records) {
  std::string out;
  std::string_view last;
  for (const record_spec* r : records) {
    // Kinds read as the same words (the three kilometric references) are said once.
    if (r->read_as == last) continue;
    out += (out.empty() ? "" : " and ") + std::string(r->read_as);
    last = r->read_as;
  }
  return out;
}

std::string_view without_article(std::string_view read_as) {
  for (std::string_view article : {"a ", "an "})
    if (read_as.starts_with(article)) return read_as.substr(article.size());
  return read_as;
}

std::span<const std::string_view> keywords_of(description_format format, record_part part) {
  using table = std::array<std::vector<std::string_view>, 3>;
  static const table line = {flattened(description_format::line, record_part::general),
                             flattened(description_format::line, record_part::body),
                             flattened(description_format::line, record_part::anywhere)};
  static const table train = {flattened(description_format::train, record_part::general),
                              flattened(description_format::train, record_part::body),
                              flattened(description_format::train, record_part::anywhere)};
  return (format == description_format::line ? line : train)[static_cast<std::size_t>(part)];
}

const record_spec* record_written_as(description_format format, std::string_view keyword) {
  for (const record_spec& r : keyword_table(format))
    for (std::string_view k : r.keywords)
      if (k == keyword) return &r;
  return nullptr;
}

}  // namespace scenario
