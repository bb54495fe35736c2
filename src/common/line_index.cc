#include "common/line_index.h"

#include <algorithm>

namespace scenario {

line_index::line_index(std::string_view text) : text_(text) {
  starts_.push_back(0);
  for (std::size_t at = text.find_first_of("\r\n"); at != std::string_view::npos;
       at = text.find_first_of("\r\n", starts_.back())) {
    const bool crlf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
    starts_.push_back(at + (crlf ? 2 : 1));
  }
}

std::size_t line_index::start(int n) const {
  if (n < 1 || static_cast<std::size_t>(n) > starts_.size()) return text_.size();
  return starts_[static_cast<std::size_t>(n) - 1];
}

std::string_view line_index::line(int n) const {
  if (n < 1 || static_cast<std::size_t>(n) > starts_.size()) return {};
  const std::size_t from = starts_[static_cast<std::size_t>(n) - 1];
  const std::size_t end = std::min(text_.find_first_of("\r\n", from), text_.size());
  return text_.substr(from, end - from);
}

}  // namespace scenario
