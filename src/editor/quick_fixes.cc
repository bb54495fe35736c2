#include "editor/quick_fixes.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace scenario {
namespace {

bool blank(char c) {
  return c == ' ' || c == '\t';
}

std::string lower_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The word in single quotes after marker in message.
std::string quoted_after(std::string_view message, std::string_view marker) {
  const std::size_t at = message.find(marker);
  if (at == message.npos) return {};
  const std::size_t from = at + marker.size();
  const std::size_t to = message.find('\'', from);
  return to == message.npos ? std::string() : std::string(message.substr(from, to - from));
}

// The whole number a field holds, blanks around it allowed.
bool number_in(std::string_view field, std::int64_t& value) {
  while (!field.empty() && blank(field.front())) field.remove_prefix(1);
  while (!field.empty() && blank(field.back())) field.remove_suffix(1);
  if (field.empty()) return false;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

}  // namespace

std::size_t field_end(std::string_view line, std::size_t start) {
  if (start >= line.size()) return line.size();
  std::size_t end;
  if (line[start] == '"') {
    const std::size_t close = line.find('"', start + 1);
    end = close == line.npos ? line.size() : close + 1;
  } else {
    const std::size_t comma = line.find(',', start);
    end = comma == line.npos ? line.size() : comma;
  }
  while (end > start && blank(line[end - 1])) --end;
  return end;
}

namespace {

// The unit and the blanks that part it from the number, or the unit written
// against its number ("3000m"), removed.
line_fix unit_removed(std::string_view line, std::size_t start, std::size_t end) {
  const std::string_view field = line.substr(start, end - start);
  std::size_t digits = 0;
  while (digits < field.size() && field[digits] >= '0' && field[digits] <= '9') ++digits;
  const bool glued = digits > 0 && digits < field.size();
  const std::size_t unit = glued ? start + digits : start;
  std::size_t from = unit;
  while (!glued && from > 0 && blank(line[from - 1])) --from;
  return {"Remove '" + std::string(line.substr(unit, end - unit)) + "'", from, end, ""};
}

// The text a comma cut, quoted: it begins after the comma before the one
// that cuts it.
std::optional<line_fix> text_quoted(std::string_view line, std::size_t start) {
  const std::size_t cut = line.rfind(',', start == 0 ? 0 : start - 1);
  if (cut == line.npos || cut == 0) return std::nullopt;
  const std::size_t before = line.rfind(',', cut - 1);
  std::size_t from = before == line.npos ? 0 : before + 1;
  while (from < line.size() && blank(line[from])) ++from;
  std::size_t to = line.size();
  while (to > from && blank(line[to - 1])) --to;
  const std::string_view text = line.substr(from, to - from);
  if (text.find('"') != text.npos) return std::nullopt;
  return line_fix{"Quote the text to keep its comma", from, to, "\"" + std::string(text) + "\""};
}

// The field pointed at, or, when that is the keyword, the record's first
// value that is not a multiple of 50, moved to the nearest multiple (the
// larger one when both are as near).
std::optional<line_fix> moved_to_multiple(std::string_view line, std::size_t start,
                                          std::size_t end) {
  std::size_t from = start;
  std::size_t to = end;
  std::int64_t value = 0;
  const bool pointed_at_number = number_in(line.substr(start, end - start), value);
  bool found = pointed_at_number && value % 50 != 0;
  for (std::size_t comma = line.find(',', start);
       !pointed_at_number && !found && comma != line.npos; comma = line.find(',', comma + 1)) {
    from = comma + 1;
    while (from < line.size() && blank(line[from])) ++from;
    to = field_end(line, from);
    found = number_in(line.substr(from, to - from), value) && value % 50 != 0;
  }
  if (!found) return std::nullopt;
  std::int64_t down = value / 50 * 50;
  if (down > value) down -= 50;
  const std::int64_t nearest = value - down < 25 ? down : down + 50;
  return line_fix{"Move to " + std::to_string(nearest), from, to, std::to_string(nearest)};
}

}  // namespace

std::vector<line_fix> fixes_for(std::string_view message, std::string_view line,
                                std::size_t start) {
  std::vector<line_fix> fixes;
  if (start > line.size()) return fixes;
  const std::size_t end = field_end(line, start);
  const std::string_view field = line.substr(start, end - start);
  const auto says = [&](std::string_view words) { return message.find(words) != message.npos; };
  if (const std::string suggested = quoted_after(message, "did you mean '"); !suggested.empty())
    fixes.push_back({"Change to '" + suggested + "'", start, end, suggested});
  if (says("matched with their letter case") && lower_ascii(field) != field)
    fixes.push_back(
        {"Write '" + lower_ascii(field) + "' in lower case", start, end, lower_ascii(field)});
  if (says("the format has no units")) fixes.push_back(unit_removed(line, start, end));
  if (says("the text is cut at the comma"))
    if (std::optional<line_fix> fix = text_quoted(line, start)) fixes.push_back(std::move(*fix));
  if (says("multiple of 50"))
    if (std::optional<line_fix> fix = moved_to_multiple(line, start, end))
      fixes.push_back(std::move(*fix));
  return fixes;
}

std::vector<line_fix> fixes_for(const diagnostic& d, std::string_view line) {
  std::string words = d.message;
  for (const diagnostic& note : d.notes) words += "\n" + note.message;
  return fixes_for(words, line, d.column > 0 ? static_cast<std::size_t>(d.column - 1) : 0);
}

}  // namespace scenario
