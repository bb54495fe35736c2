// What platform/file_set.h does the same way on every system: the switch for
// syncing, the gathering of small writes, and the commit that puts every
// member in place or, on the first failure, takes back those already placed.
// The steps that touch the file system (write_through, finish, put_in_place,
// take_back, drop_older, sync_folder) are each system's own. The order of
// the commit's steps, and what a kill after each leaves, is told in
// docs/authoring.md ("Files").
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "platform/file_faults.h"
#include "platform/file_set.h"
#include "platform/files.h"
#include "platform/set_intent.h"
#include "platform/temp_files.h"

namespace scenario {
namespace {

// Small writes are gathered up to this size before they go to the file.
constexpr std::size_t k_buffer_bytes = std::size_t{64} * 1024;

bool g_sync = false;

}  // namespace

void set_sync_writes(bool on) {
  g_sync = on;
}

bool sync_writes() {
  return g_sync;
}

output_file::output_file(std::string path, std::string temp)
    : path_(std::move(path)), temp_(std::move(temp)), guard_(temp_) {}

std::unique_ptr<output_file> file_set::new_member(std::string_view name,
                                                  void (*check_name)(const std::string& path)) {
  std::string path = join_path(folder_, name);
  if (name.empty()) throw io_error(path, "create", std::strerror(EISDIR));
  for (const auto& f : members_)
    if (f->path_ == path) throw io_error(path, "create", "named twice in one set");
  check_name(path);
  std::string temp = temp_name_for(path);
  return std::unique_ptr<output_file>(new output_file(std::move(path), std::move(temp)));
}

output_file& file_set::keep_member(std::unique_ptr<output_file> f, std::string_view name) {
  members_.push_back(std::move(f));
  names_.emplace_back(name);
  return *members_.back();
}

void output_file::write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() <= k_buffer_bytes) {
    buffer_ += bytes;
    return;
  }
  write_through(buffer_);
  buffer_.clear();
  if (bytes.size() < k_buffer_bytes)
    buffer_ = bytes;
  else
    write_through(bytes);
}

file_set::file_set(std::string folder, std::ostream& notices)
    : folder_(std::move(folder)), lock_(folder_, notices) {}

void file_set::commit() {
  for (const auto& f : members_) f->finish();
  if (const file_faults* faults = active_file_faults(); faults != nullptr && faults->before_rename)
    faults->before_rename();
  // No interrupt may leave the set half in place.
  const signals_held held;
  if (members_.size() > 1) write_intent();
  put_all_in_place();
  // The renames are durable before anything older is let go.
  sync_folder();
  for (const auto& f : members_)
    if (f->placed_ == output_file::placed::over_older ||
        f->placed_ == output_file::placed::kept_aside)
      drop_older(*f);
  committed_ = true;
  if (recorded_) remove_intent();
}

// Puts every member in place or, on the first failure, takes back those
// already placed and throws. A take-back that fails too leaves the record
// and the new files for the next process, which finishes the set.
void file_set::put_all_in_place() {
  std::size_t in_place = 0;
  try {
    for (; in_place < members_.size(); ++in_place) {
      output_file& f = *members_[in_place];
      const file_faults* injected = active_file_faults();
      if (injected != nullptr && injected->rename_error)
        if (const int err = injected->rename_error(f.path_); err != 0)
          throw io_error(f.path_, "replace", std::strerror(err));
      put_in_place(f);
    }
  } catch (...) {
    bool all_back = true;
    while (in_place > 0) all_back = take_back(*members_[--in_place]) && all_back;
    if (!all_back) {
      committed_ = true;  // the new files stay, for the record to finish
      throw;
    }
    if (recorded_) {
      sync_folder();
      remove_intent();
    }
    throw;
  }
}

void file_set::write_intent() {
  set_intent intent;
  intent.mark = process_mark();
  intent.names = names_;
  for (const auto& f : members_) intent.identities.push_back(file_identity(f->temp_));
  const std::string record = join_path(folder_, k_intent_name);
  const std::string temp = new_name_for(record, process_mark());
  const temp_guard guard(temp);
  write_intent_file(folder_, temp, record, intent_text(intent));
  recorded_ = true;
}

void file_set::remove_intent() {
  before_set_step(set_step::remove);
  remove_file(join_path(folder_, k_intent_name));
  recorded_ = false;
}

}  // namespace scenario
