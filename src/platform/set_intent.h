// The record that makes the replacement of a set of files one step across a
// kill or a power loss. Before the first member takes its name, the set
// writes this small file into its folder, saying which complete new files
// take which names; the next process to lock the folder finds it, puts every
// new file that has not yet taken its name in place, removes the older files
// kept meanwhile, then the record. The new files were whole before the record
// was written, so the set is always finished, never undone.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/diagnostic.h"

namespace scenario {

// The record's name in the folder of the set.
inline constexpr std::string_view k_intent_name = "scenario_gen.intent";

// A record is never larger: three names and a token take a few hundred bytes.
inline constexpr std::size_t k_intent_max_bytes = 4096;

struct set_intent {
  // The writer's mark, "PID-TOKEN": the new file of NAME waits under
  // NAME.partial-MARK, the older one is kept under NAME.kept-MARK.
  std::string mark;
  // The members' names in the folder, without any folder.
  std::vector<std::string> names;
  // Each new file's identity on its file system (its inode), which tells
  // whether the file under a name is already the new one; 0 where the system
  // has none to give, the new file's waiting name then telling alone.
  std::vector<std::uint64_t> identities;

  bool operator==(const set_intent&) const = default;
};

// The record's text.
std::string intent_text(const set_intent& intent);

// The record in text, or nothing when text is not one this program wrote
// whole: a file of the same name that is someone else's is never acted on.
// A name holding a separator, "." or "..", or a control character is refused,
// so that no record can reach outside its folder.
std::optional<set_intent> parse_intent(std::string_view text);

// Whether mark has the form of this program's marks: a process id, '-', and
// 16 lowercase hexadecimal digits.
bool is_process_mark(std::string_view mark);

// The id of the process whose new or kept file name is (NAME.partial-MARK or
// NAME.kept-MARK, with a mark of this program's form), or 0 when name is
// none: the clean-up of a dead process's files removes no other name.
unsigned long temp_owner(std::string_view name);

// This process's mark, "PID-TOKEN", the token random and drawn once.
const std::string& process_mark();

// Where a set's new file and its kept older file stand: "PATH.partial-MARK"
// and "PATH.kept-MARK".
std::string new_name_for(const std::string& path, std::string_view mark);
std::string kept_name_for(const std::string& path, std::string_view mark);

// Under the folder's lock: finishes the replacement that folder's record
// describes, then removes the record. A folder without a record, or whose
// record is not this program's, is left as it is. Throws io_error when a step
// fails; the record then stays for the next process.
void finish_interrupted_set(const std::string& folder);

// For a command that reads a scenario folder: finishes an interrupted
// replacement in folder under its lock. Returns the error to report when the
// folder still holds one (a user who may not write the folder), and nothing
// when the folder's set is whole.
std::optional<diagnostic> settle_folder(const std::string& folder, std::ostream& notices);

// Each system's own steps for the above (file_set_posix.cc, file_set_win32.cc).
// This process's id.
unsigned long current_process_id();
// The identity of the file at path (not through a link), or 0.
std::uint64_t file_identity(const std::string& path);
// Puts the file at from under the name to, replacing what stands there.
void move_over(const std::string& from, const std::string& to);
// Makes the renames in folder durable.
void sync_folder_named(const std::string& folder);
// Writes the record's bytes to temp, syncs them with --sync, renames temp to
// path and, with --sync, syncs folder: the record is then whole, or absent.
void write_intent_file(const std::string& folder, const std::string& temp, const std::string& path,
                       std::string_view bytes);

}  // namespace scenario
