// Where each line of a text starts, found in one pass, so that the text of
// any line costs a lookup instead of a scan from the text's start: the
// diagnostics of a description with a fault on every record show each
// one's source line, and a scan per diagnostic made that lines squared.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace scenario {

class line_index {
 public:
  line_index() = default;
  // Indexes text, which must outlive the index. Lines end as the field
  // reader ends them: CR LF, CR or LF.
  explicit line_index(std::string_view text);

  // Line n (from 1) without its line end; empty for n below 1 or past the
  // last line.
  std::string_view line(int n) const;
  // The byte offset where line n (from 1) starts; the text's size past the
  // last line.
  std::size_t start(int n) const;

 private:
  std::string_view text_;
  std::vector<std::size_t> starts_;  // starts_[n - 1]: where line n starts
};

}  // namespace scenario
