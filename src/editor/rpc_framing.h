// The framing of the protocol's messages on a byte stream: header lines
// ("Content-Length: N"), a blank line, then N bytes of JSON.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// The largest message body read; a larger one ends the session, as a
// client that sends one has lost its way.
inline constexpr std::size_t k_max_message_bytes = 64 * 1024 * 1024;

// The next message's body; nothing at the end of the stream or when the
// headers are broken (no Content-Length, a bad number, a body cut short).
// When broken is given, it is set to what was wrong, in the user's words,
// or emptied when the stream simply ended between two messages.
std::optional<std::string> read_message(std::istream& in, std::string* broken = nullptr);

// Writes body with its header and flushes.
void write_message(std::ostream& out, std::string_view body);

}  // namespace scenario
