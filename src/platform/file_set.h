// Files replaced whole and together. Each member of a set is written to a
// temporary file beside its name; only once every member is complete are
// they put in place, each name taking its new file in one step. A name is
// thus never missing, empty or half written, a failure before the commit leaves
// every older file as it was, and no temporary file outlives the set. A set
// of more than one member first records in its folder which new files take
// which names (platform/set_intent.h), so that a process killed among the
// renames leaves a replacement the next one finishes, never a mixed set.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_lock.h"
#include "platform/temp_files.h"

namespace scenario {

// Whether sets sync each file and then their folder before the commit
// returns, for safety against a power loss; off unless set (the command
// line's --sync).
void set_sync_writes(bool on);
bool sync_writes();

// One member of a set being written: its bytes go to the temporary file.
class output_file {
 public:
  // Appends bytes. Throws io_error naming the file ("No space left on
  // device", "File too large").
  void write(std::string_view bytes);
  // Writes bytes at offset from the file's start, for a file whose parts are
  // made out of order; where write appends is left as it was. Throws as
  // write does.
  void write_at(std::uint64_t offset, std::string_view bytes);
  // The name the file takes when the set is committed.
  const std::string& path() const { return path_; }

  ~output_file();
  output_file(const output_file&) = delete;
  output_file& operator=(const output_file&) = delete;

 private:
  friend class file_set;
  output_file(std::string path, std::string temp);
  void write_through(std::string_view bytes);
  void finish();

  std::string path_;
  std::string temp_;
  temp_guard guard_;
  int fd_ = -1;
  std::string buffer_;
  std::uint64_t written_ = 0;
  // How the file was put in place: the older file it replaced now stands
  // under the temporary name (on Windows: under its kept name), under its
  // kept name, or the name was free.
  enum class placed { no, over_older, kept_aside, into_free } placed_ = placed::no;
};

class file_set {
 public:
  // A set of files in folder, written under the folder's lock.
  explicit file_set(std::string folder, std::ostream& notices = std::cerr);
  // Removes the temporary files of a set that was not committed.
  ~file_set();
  file_set(const file_set&) = delete;
  file_set& operator=(const file_set&) = delete;

  // Starts the member that replaces folder/name, without creating anything
  // under the name: a folder, a file that may not be written, or anything
  // but a file or a link to a file under the name is refused (io_error). A
  // link is replaced itself; what it points to is never touched.
  output_file& add(std::string_view name);

  // Completes every member, then puts them all in place. Throws io_error,
  // with every older file back in place, when a member cannot be completed
  // or put in place.
  void commit();

 private:
  // The member for folder/name, its name checked (not empty, not twice in
  // the set, then by the system's check_name) and its temporary named;
  // nothing is created yet.
  std::unique_ptr<output_file> new_member(std::string_view name,
                                          void (*check_name)(const std::string& path));
  // Takes f, its temporary created, as the member under name.
  output_file& keep_member(std::unique_ptr<output_file> f, std::string_view name);
  void put_all_in_place();
  void write_intent();
  void remove_intent();

  // The steps of the commit each system takes its own way: put f under its
  // name, keeping any older file for a roll-back; put the older file back
  // (false when that fails);
  // remove the older file once the whole set is in place; make the names
  // durable when writes are synced.
  void put_in_place(output_file& f);
  // Where the older file is kept under its own name (Linux; the Windows
  // steps always keep it so).
  void put_in_place_recorded(output_file& f, const std::string& mark);
  bool take_back(output_file& f);
  void drop_older(output_file& f);
  void sync_folder();

  std::string folder_;
  folder_lock lock_;
  std::vector<std::unique_ptr<output_file>> members_;
  std::vector<std::string> names_;  // the members' names in the folder
  bool committed_ = false;
  // A record of the replacement stands in the folder.
  bool recorded_ = false;
};

}  // namespace scenario
