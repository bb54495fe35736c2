#include "sources/description_encoding.h"

#include <string_view>

#include "common/utf8_text.h"
#include "model/scenario_constants.h"
#include "platform/files.h"

namespace scenario {

std::string read_description_text(const std::string& path) {
  return read_file(path, k_description_max_bytes, "a description");
}

std::optional<description_encoding> encoding_named(const std::optional<std::string>& name) {
  if (!name || *name == "cp1252" || *name == "windows-1252") return description_encoding::cp1252;
  if (*name == "utf-8" || *name == "utf8") return description_encoding::utf8;
  return std::nullopt;
}

std::optional<diagnostic> decode_description(const std::string& path, std::string& text,
                                             description_encoding encoding) {
  if (encoding == description_encoding::cp1252) return std::nullopt;
  std::string_view utf8 = text;
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  const text_1252 converted = utf8_to_1252(utf8);
  if (converted.ok) {
    text = converted.text;
    return std::nullopt;
  }
  diagnostic d;
  d.file = path;
  d.line = 1;
  d.column = 1;
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < converted.failed_at; ++i) {
    const char c = utf8[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n'))) {
      ++d.line;
      d.column = 1;
      line_start = i + 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && c != '\r') {
      ++d.column;
    }
  }
  const std::size_t line_end = utf8.find_first_of("\r\n", line_start);
  const std::string_view line =
      utf8.substr(line_start, line_end == utf8.npos ? utf8.npos : line_end - line_start);
  // The line is shown only when it is UTF-8 a terminal can take.
  if (utf8_to_1252(line).ok || converted.failed_cp != 0) {
    for (const char c : line)
      d.source_line += (static_cast<unsigned char>(c) < 0x20 && c != '\t') ? '?' : c;
  }
  d.message = converted.failed_cp != 0
                  ? code_point_name(converted.failed_cp) +
                        " is not a Windows-1252 character, the only ones the simulator shows; "
                        "write it another way"
                  : "these bytes are not UTF-8; without --encoding utf-8 the file is read as "
                    "Windows-1252";
  return d;
}

}  // namespace scenario
