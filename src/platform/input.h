// Reading one input a command names, which may be the standard input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace scenario {

// How messages name an input path: "standard input" for "-", else path.
std::string input_name(const std::string& path);

// The whole content of path, or of the standard input when path is "-": a
// regular file, a pipe or a device such as /dev/stdin. Nothing when it
// holds more than limit bytes (reading stops there). Throws io_error when it
// cannot be read, and failure when the standard input is a terminal, which
// would wait for typed bytes.
std::optional<std::string> read_input(const std::string& path, std::size_t limit);

}  // namespace scenario
