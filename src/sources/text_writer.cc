#include "sources/text_writer.h"

#include "platform/files.h"

namespace scenario {

std::string render_lines(std::span<const std::string_view> lines) {
  std::size_t size = 0;
  for (std::string_view line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (std::string_view line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

std::string write_text_file(const std::string& path, std::span<const std::string_view> lines) {
  std::string bytes = render_lines(lines);
  replace_file(path, bytes);
  return bytes;
}

}  // namespace scenario
