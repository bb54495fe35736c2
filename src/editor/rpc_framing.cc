#include "editor/rpc_framing.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

namespace scenario {
namespace {

// One header line without its "\r\n"; nothing at the end of the stream.
std::optional<std::string> header_line(std::istream& in) {
  std::string line;
  char c = 0;
  while (in.get(c)) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    line += c;
    if (line.size() > 4096) return std::nullopt;
  }
  return std::nullopt;
}

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::optional<std::string> read_message(std::istream& in) {
  std::optional<std::size_t> length;
  for (;;) {
    const std::optional<std::string> line = header_line(in);
    if (!line) return std::nullopt;
    if (line->empty()) {
      if (length) break;
      continue;  // blank lines between messages are passed over
    }
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos) return std::nullopt;
    if (!same_letters(std::string_view(*line).substr(0, colon), "content-length")) continue;
    std::size_t n = 0;
    bool digits = false;
    for (std::size_t i = colon + 1; i < line->size(); ++i) {
      const char c = (*line)[i];
      if (c == ' ' || c == '\t') continue;
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + static_cast<std::size_t>(c - '0');
      digits = true;
      if (n > k_max_message_bytes) return std::nullopt;
    }
    if (!digits) return std::nullopt;
    length = n;
  }
  // Read as it arrives: a length that the input never fills costs no more
  // memory than the bytes that came.
  std::string body;
  constexpr std::size_t k_piece = std::size_t{64} * 1024;
  while (body.size() < *length) {
    const std::size_t from = body.size();
    body.resize(from + std::min(k_piece, *length - from));
    if (!in.read(body.data() + from, static_cast<std::streamsize>(body.size() - from)))
      return std::nullopt;
  }
  return body;
}

void write_message(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

}  // namespace scenario
