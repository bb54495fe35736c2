// The language server's answers as values: what each feature finds, with
// its places as the feature knows them. The features know neither JSON nor
// the client's position units; lsp_protocol.cc turns these into the
// protocol's messages and converts every place, in one spot.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scenario {

// A place in the text as compiled (Windows-1252, one character a byte): a
// line (from 0) and the characters of that line before it.
struct compiled_place {
  int line = 0;
  std::size_t character = 0;
};

struct compiled_range {
  compiled_place start;
  compiled_place end;
};

// Characters first to last (exclusive) of one compiled line.
inline compiled_range on_line(int line, std::size_t first, std::size_t last) {
  return {{line, first}, {line, last}};
}

// A place the client names in the editor's text: its line (from 0), the byte
// of its UTF-8 line it falls on, and the characters before it as the
// compiled line counts them (the editor's line is the compiled one,
// character for character).
struct editor_place {
  int line = 0;
  std::size_t byte = 0;
  std::size_t character = 0;
};

struct hover_value {
  std::string markdown;
  compiled_range range;
};

// A section of the outline, or a record in one (a section's child).
struct symbol_value {
  bool section = false;
  std::string name;
  std::string detail;  // a record's; none for a section
  int kind = 0;        // the protocol's symbol kind
  compiled_range range;
  compiled_range selection;
  std::vector<symbol_value> children;
};

struct completion_value {
  std::string label;
  int kind = 0;  // the protocol's completion item kind
  std::string detail;
  std::string documentation;  // markdown; none when empty
  std::string snippet;
};

struct inlay_value {
  compiled_place place;
  std::string label;
};

// A whole line of the editor's text replaced (UTF-8).
struct line_edit {
  int line = 0;
  std::string text;
};

// A quick fix: bytes from to to of the editor's text replaced (UTF-8).
struct fix_value {
  std::string title;
  std::size_t from = 0;
  std::size_t to = 0;
  std::string text;
};

}  // namespace scenario
