// The one writer of the run's text files: each line followed by CR LF, bytes
// as they stand (single-byte text), any older file of the name replaced.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The bytes of lines, each followed by CR LF.
std::string render_lines(std::span<const std::string_view> lines);

// Writes lines to path, replacing any older file there; returns the bytes
// written.
std::string write_text_file(const std::string& path, std::span<const std::string_view> lines);

}  // namespace scenario
