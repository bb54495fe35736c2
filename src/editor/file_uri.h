// The file: URIs an editor names its documents by, and the paths they stand
// for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// The path of a file: URI ("file:///home/a%20b/x.txt" is "/home/a b/x.txt";
// "file:///C:/x" is "C:/x"); nothing for another scheme or a bad escape.
std::optional<std::string> path_of_uri(std::string_view uri);

// The file: URI of an absolute path, every byte but the unreserved ones and
// '/' percent-encoded.
std::string uri_of_path(std::string_view path);

}  // namespace scenario
