#include "editor/file_uri.h"

namespace scenario {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool unreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::optional<std::string> path_of_uri(std::string_view uri) {
  constexpr std::string_view scheme = "file://";
  if (uri.size() < scheme.size() || uri.substr(0, scheme.size()) != scheme) return std::nullopt;
  uri.remove_prefix(scheme.size());
  // An authority other than the local host names another machine.
  const std::size_t slash = uri.find('/');
  if (slash == uri.npos) return std::nullopt;
  if (slash != 0 && uri.substr(0, slash) != "localhost") return std::nullopt;
  uri.remove_prefix(slash);
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] != '%') {
      path += uri[i];
      continue;
    }
    if (i + 2 >= uri.size()) return std::nullopt;
    const int high = hex_value(uri[i + 1]);
    const int low = hex_value(uri[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    path += static_cast<char>(high * 16 + low);
    i += 2;
  }
  // "/C:/x": a Windows drive.
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':' &&
      ((path[1] >= 'a' && path[1] <= 'z') || (path[1] >= 'A' && path[1] <= 'Z')))
    path.erase(0, 1);
  return path;
}

std::string uri_of_path(std::string_view path) {
  constexpr char digits[] = "0123456789ABCDEF";
  std::string uri = "file://";
  if (path.empty() || path[0] != '/') uri += '/';
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (unreserved(byte) || c == ':') {
      uri += c;
    } else if (c == '\\') {
      uri += '/';
    } else {
      uri += '%';
      uri += digits[byte >> 4];
      uri += digits[byte & 15];
    }
  }
  return uri;
}

}  // namespace scenario
