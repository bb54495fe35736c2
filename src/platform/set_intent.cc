// The replacement record of platform/set_intent.h: its text, its reader, the
// names it implies and the finishing of an interrupted replacement, the same
// on every system; the file steps are each system's own.
#include "platform/set_intent.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <random>

#include "platform/file_faults.h"
#include "platform/files.h"
#include "platform/folder_lock.h"

namespace scenario {
namespace {

constexpr std::string_view k_first_line = "scenario_gen replacement 1\n";
constexpr std::string_view k_mark_key = "mark ";
constexpr std::string_view k_name_key = "name ";
constexpr std::string_view k_last_line = "end\n";
constexpr std::size_t k_token_digits = 16;
// A set has three members; a record naming more was not written by a set.
constexpr std::size_t k_max_names = 8;

bool is_plain_name(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
  for (const char c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      return false;
  return true;
}

// Takes the next line of text, without its '\n', or nothing at the end or
// on a line that is not ended.
std::optional<std::string_view> next_line(std::string_view& text) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return line;
}

std::string random_token() {
  // The device may be a fixed sequence where the system has no entropy: the
  // clock then still tells two processes of one id apart.
  std::random_device device;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::uint64_t bits = (std::uint64_t{device()} << 32) ^ device() ^ now;
  constexpr std::string_view digits = "0123456789abcdef";
  std::string token(k_token_digits, '0');
  for (char& c : token) {
    c = digits[bits & 0xfU];
    bits >>= 4;
  }
  return token;
}

}  // namespace

std::string intent_text(const set_intent& intent) {
  std::string text(k_first_line);
  text.append(k_mark_key).append(intent.mark) += '\n';
  for (std::size_t i = 0; i < intent.names.size(); ++i)
    text.append(k_name_key).append(std::to_string(intent.identities[i])) +=
        ' ' + intent.names[i] + '\n';
  text += k_last_line;
  return text;
}

std::optional<set_intent> parse_intent(std::string_view text) {
  if (text.size() > k_intent_max_bytes || !text.starts_with(k_first_line)) return std::nullopt;
  text.remove_prefix(k_first_line.size());
  const auto mark = next_line(text);
  if (!mark || !mark->starts_with(k_mark_key)) return std::nullopt;
  set_intent intent{
      .mark = std::string(mark->substr(k_mark_key.size())), .names = {}, .identities = {}};
  if (!is_process_mark(intent.mark)) return std::nullopt;
  while (const auto line = next_line(text)) {
    if (*line == k_last_line.substr(0, k_last_line.size() - 1))
      return text.empty() && !intent.names.empty() ? std::optional(intent) : std::nullopt;
    if (!line->starts_with(k_name_key) || intent.names.size() == k_max_names) return std::nullopt;
    std::string_view entry = line->substr(k_name_key.size());
    std::uint64_t identity = 0;
    const auto r = std::from_chars(entry.data(), entry.data() + entry.size(), identity);
    if (r.ec != std::errc{} || r.ptr == entry.data() + entry.size() || *r.ptr != ' ' ||
        (entry[0] == '0' && r.ptr != entry.data() + 1))
      return std::nullopt;
    const std::string_view name = entry.substr(static_cast<std::size_t>(r.ptr - entry.data()) + 1);
    if (!is_plain_name(name)) return std::nullopt;
    for (const std::string& earlier : intent.names)
      if (earlier == name) return std::nullopt;
    intent.names.emplace_back(name);
    intent.identities.push_back(identity);
  }
  return std::nullopt;
}

bool is_process_mark(std::string_view mark) {
  const std::size_t dash = mark.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > 10) return false;
  for (const char c : mark.substr(0, dash))
    if (c < '0' || c > '9') return false;
  const std::string_view token = mark.substr(dash + 1);
  if (token.size() != k_token_digits) return false;
  for (const char c : token)
    if ((c < '0' || c > '9') && (c < 'a' || c > 'f')) return false;
  return true;
}

unsigned long temp_owner(std::string_view name) {
  for (const std::string_view kind : {std::string_view(".partial-"), std::string_view(".kept-")}) {
    const std::size_t at = name.rfind(kind);
    if (at == std::string_view::npos || at == 0) continue;
    const std::string_view mark = name.substr(at + kind.size());
    if (!is_process_mark(mark)) continue;
    unsigned long pid = 0;
    const auto r = std::from_chars(mark.data(), mark.data() + mark.find('-'), pid);
    return r.ec == std::errc{} && pid > 0 ? pid : 0;
  }
  return 0;
}

const std::string& process_mark() {
  static const std::string mark = std::to_string(current_process_id()) + "-" + random_token();
  return mark;
}

std::string new_name_for(const std::string& path, std::string_view mark) {
  return path + ".partial-" + std::string(mark);
}

std::string kept_name_for(const std::string& path, std::string_view mark) {
  return path + ".kept-" + std::string(mark);
}

void finish_interrupted_set(const std::string& folder) {
  const std::string record = join_path(folder, k_intent_name);
  if (!file_exists(record)) return;
  std::optional<set_intent> intent;
  try {
    intent = parse_intent(read_file(record, k_intent_max_bytes));
  } catch (const io_error&) {
    return;  // larger than a record, or unreadable: not one of ours
  }
  if (!intent) return;
  // Under a name, the new file (by its identity) is in place, and what its
  // waiting name holds is the older file an exchange left there. Otherwise
  // the new file still waits under that name, and takes the name now.
  std::vector<std::string> leftovers;
  for (std::size_t i = 0; i < intent->names.size(); ++i) {
    const std::string path = join_path(folder, intent->names[i]);
    const std::string waiting = new_name_for(path, intent->mark);
    leftovers.push_back(kept_name_for(path, intent->mark));
    const std::uint64_t identity = intent->identities[i];
    if (identity != 0 && file_identity(path) == identity)
      leftovers.push_back(waiting);
    else if (file_exists(waiting)) {
      before_set_step(set_step::rename);
      move_over(waiting, path);
    }
  }
  sync_folder_named(folder);
  for (const std::string& leftover : leftovers) {
    if (!file_exists(leftover)) continue;
    before_set_step(set_step::remove);
    remove_file(leftover);
  }
  before_set_step(set_step::remove);
  remove_file(record);
}

std::optional<diagnostic> settle_folder(const std::string& folder, std::ostream& notices) {
  const std::string record = join_path(folder, k_intent_name);
  if (!file_exists(record)) return std::nullopt;
  try {
    // Taking the lock finishes the replacement, once any writer still at
    // work in the folder is done.
    const folder_lock lock(folder, notices);
  } catch (const io_error&) {
    // Told below: the record is still there.
  }
  std::optional<set_intent> intent;
  try {
    if (file_exists(record)) intent = parse_intent(read_file(record, k_intent_max_bytes));
  } catch (const io_error&) {
    return std::nullopt;
  }
  if (!intent) return std::nullopt;
  return program_diagnostic("the scenario files in '" + folder +
                            "' are a replacement that was interrupted, and this user may not "
                            "write the folder to finish it (see '" +
                            record +
                            "'); run any scenario_gen command on the folder as a user who may");
}

}  // namespace scenario
