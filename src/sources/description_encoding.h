// How an author's description files are written: as the simulator reads
// them (Windows-1252), or in UTF-8, today's editors' default.
#pragma once

#include <optional>
#include <string>

#include "common/diagnostic.h"

namespace scenario {

enum class description_encoding { cp1252, utf8 };

// The whole text of the description at path; an io_error when it is not a
// regular file or larger than a description may be.
std::string read_description_text(const std::string& path);

// The encoding --encoding names (cp1252 when not given); nothing for a name
// it does not know.
std::optional<description_encoding> encoding_named(const std::optional<std::string>& name);

// Makes text, read from path, Windows-1252. UTF-8 text is converted (a
// byte-order mark dropped); the first character Windows-1252 lacks, or bytes
// that are not UTF-8, come back as an error at their line and column (in
// characters), text then unchanged. Windows-1252 text is left as it is.
std::optional<diagnostic> decode_description(const std::string& path, std::string& text,
                                             description_encoding encoding);

}  // namespace scenario
