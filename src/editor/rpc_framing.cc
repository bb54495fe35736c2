#include "editor/rpc_framing.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

namespace scenario {
namespace {

constexpr std::size_t k_max_header_line = 4096;

// One header line without its "\r\n"; nothing at the end of the stream
// or past the longest line, with what went wrong in broken (empty when the
// stream ended before the line began).
std::optional<std::string> header_line(std::istream& in, std::string& broken) {
  std::string line;
  char c = 0;
  while (in.get(c)) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    line += c;
    if (line.size() > k_max_header_line) {
      broken =
          "a message header line is longer than " + std::to_string(k_max_header_line) + " bytes";
      return std::nullopt;
    }
  }
  if (!line.empty()) broken = "the input ended inside a message header";
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

// The Content-Length of a header line's value; nothing, with why in
// broken, when it is not a number the reader takes.
std::optional<std::size_t> content_length(std::string_view value, std::string& broken) {
  std::size_t n = 0;
  bool digits = false;
  for (const char c : value) {
    if (c == ' ' || c == '\t') continue;
    if (c < '0' || c > '9') {
      broken = "the Content-Length of a message header is not a number";
      return std::nullopt;
    }
    n = n * 10 + static_cast<std::size_t>(c - '0');
    digits = true;
    if (n > k_max_message_bytes) {
      broken = "a message is longer than the largest read (" + std::to_string(k_max_message_bytes) +
               " bytes)";
      return std::nullopt;
    }
  }
  if (!digits) broken = "the Content-Length of a message header is empty";
  return digits ? std::optional(n) : std::nullopt;
}

// read_message, with what went wrong in broken.
std::optional<std::string> read_framed(std::istream& in, std::string& broken) {
  std::optional<std::size_t> length;
  bool begun = false;  // a header line of this message was read
  for (;;) {
    const std::optional<std::string> line = header_line(in, broken);
    if (!line) {
      if (begun && broken.empty()) broken = "the input ended inside a message header";
      return std::nullopt;
    }
    if (line->empty()) {
      if (length) break;
      if (begun) {
        broken = "a message header has no Content-Length";
        return std::nullopt;
      }
      continue;  // blank lines between messages are passed over
    }
    begun = true;
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos) {
      broken = "a message header line is not 'NAME: VALUE'";
      return std::nullopt;
    }
    if (!same_letters(std::string_view(*line).substr(0, colon), "content-length")) continue;
    length = content_length(std::string_view(*line).substr(colon + 1), broken);
    if (!length) return std::nullopt;
  }
  // Read as it arrives: a length that the input never fills costs no more
  // memory than the bytes that came.
  std::string body;
  constexpr std::size_t k_piece = std::size_t{64} * 1024;
  while (body.size() < *length) {
    const std::size_t from = body.size();
    body.resize(from + std::min(k_piece, *length - from));
    if (!in.read(body.data() + from, static_cast<std::streamsize>(body.size() - from))) {
      broken = "the input ended inside a message body";
      return std::nullopt;
    }
  }
  return body;
}

}  // namespace

std::optional<std::string> read_message(std::istream& in, std::string* broken) {
  std::string why;
  std::optional<std::string> body = read_framed(in, why);
  if (broken != nullptr) *broken = std::move(why);
  return body;
}

void write_message(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

}  // namespace scenario
