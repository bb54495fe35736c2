#include "platform/file_set.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_faults.h"
#include "platform/files.h"
#include "platform/set_intent.h"

namespace scenario {
namespace {

std::string reason(int err) {
  return std::strerror(err);
}

// Refuses what may not be replaced by a file under path, without creating
// anything there. A link is replaced itself, so only what it points to
// decides whether it may be: a file, or nothing at all.
void check_name(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return;
    throw io_error(path, "create", reason(errno));
  }
  if (S_ISLNK(st.st_mode)) {
    if (::stat(path.c_str(), &st) != 0) return;  // a dangling link
    if (S_ISDIR(st.st_mode)) throw io_error(path, "create", reason(EISDIR));
    if (!S_ISREG(st.st_mode)) throw io_error(path, "create", "not a regular file");
    return;
  }
  if (S_ISDIR(st.st_mode)) throw io_error(path, "create", reason(EISDIR));
  if (!S_ISREG(st.st_mode)) throw io_error(path, "create", "not a regular file");
  // The older file is replaced, not written, but a file its owner made
  // read-only is still refused, as writing it in place would be.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
    throw io_error(path, "create", reason(errno));
}

int injected_write_error(const std::string& path, std::uint64_t offset, std::size_t size) {
  before_set_step(set_step::write);
  const file_faults* f = active_file_faults();
  return f != nullptr && f->write_error ? f->write_error(path, offset, size) : 0;
}

}  // namespace

output_file::~output_file() {
  if (fd_ >= 0) ::close(fd_);
}

void output_file::write_through(std::string_view bytes) {
  while (!bytes.empty()) {
    int err = injected_write_error(path_, written_, bytes.size());
    if (err == 0) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n >= 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
        written_ += static_cast<std::uint64_t>(n);
        continue;
      }
      err = errno;
      if (err == EINTR) continue;
    }
    throw io_error(path_, "write", reason(err));
  }
}

void output_file::write_at(std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    int err = injected_write_error(path_, offset, bytes.size());
    if (err == 0) {
      const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
      if (n >= 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
        continue;
      }
      err = errno;
      if (err == EINTR) continue;
    }
    throw io_error(path_, "write", reason(err));
  }
}

void output_file::finish() {
  write_through(buffer_);
  buffer_.clear();
  if (sync_writes()) {
    before_set_step(set_step::sync);
    if (::fsync(fd_) != 0) throw io_error(path_, "write", reason(errno));
  }
  const int fd = fd_;
  fd_ = -1;
  // A file system that writes on close reports its failures here.
  if (::close(fd) != 0) throw io_error(path_, "write", reason(errno));
}

file_set::~file_set() {
  if (committed_) return;
  for (const auto& f : members_) {
    if (f->fd_ >= 0) {
      ::close(f->fd_);
      f->fd_ = -1;
    }
    ::unlink(f->temp_.c_str());
  }
}

output_file& file_set::add(std::string_view name) {
  std::unique_ptr<output_file> f = new_member(name, check_name);
  f->fd_ = ::open(f->temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (f->fd_ < 0) throw io_error(f->path_, "create", reason(errno));
  return keep_member(std::move(f), name);
}

void file_set::put_in_place(output_file& f) {
  const char* temp = f.temp_.c_str();
  const char* path = f.path_.c_str();
  before_set_step(set_step::rename);
  // An exchange keeps the older file, under the temporary name, until the
  // whole set is in place, so that a failure can put it back; nor does it
  // make ext4 write the new file out at once, as a rename over a file does.
  // The record tells the files apart by their identities.
  if (::renameat2(AT_FDCWD, temp, AT_FDCWD, path, RENAME_EXCHANGE) == 0) {
    f.placed_ = output_file::placed::over_older;
    return;
  }
  // No older file, or a file system that cannot exchange.
  if (errno != ENOENT && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
    throw io_error(f.path_, "replace", reason(errno));
  if (recorded_ && errno != ENOENT) {
    put_in_place_recorded(f, process_mark());
    return;
  }
  struct stat st {};
  const bool was_free = ::lstat(path, &st) != 0;
  if (::rename(temp, path) != 0) throw io_error(f.path_, "replace", reason(errno));
  f.placed_ = was_free ? output_file::placed::into_free : output_file::placed::no;
}

// A member of a recorded set on a file system that cannot exchange: the
// older file is kept under a second name (a link, or where the file system
// has none, a rename), then the new file takes the name; the new file's own
// name then tells whether it is in place.
void file_set::put_in_place_recorded(output_file& f, const std::string& mark) {
  const std::string kept = kept_name_for(f.path_, mark);
  bool was_free = false;
  if (::link(f.path_.c_str(), kept.c_str()) != 0) {
    if (errno == ENOENT)
      was_free = true;
    else if (::rename(f.path_.c_str(), kept.c_str()) != 0)
      throw io_error(f.path_, "replace", reason(errno));
  }
  before_set_step(set_step::rename);
  if (::rename(f.temp_.c_str(), f.path_.c_str()) != 0) {
    const int err = errno;
    if (!was_free) ::rename(kept.c_str(), f.path_.c_str());
    throw io_error(f.path_, "replace", reason(err));
  }
  f.placed_ = was_free ? output_file::placed::into_free : output_file::placed::kept_aside;
}

bool file_set::take_back(output_file& f) {
  const char* temp = f.temp_.c_str();
  const char* path = f.path_.c_str();
  bool back = true;
  if (f.placed_ == output_file::placed::over_older)
    back = ::renameat2(AT_FDCWD, temp, AT_FDCWD, path, RENAME_EXCHANGE) == 0;
  else if (f.placed_ == output_file::placed::kept_aside)
    back = ::rename(kept_name_for(f.path_, process_mark()).c_str(), path) == 0;
  else if (f.placed_ == output_file::placed::into_free)
    back = ::rename(path, temp) == 0;
  f.placed_ = output_file::placed::no;
  return back;
}

void file_set::drop_older(output_file& f) {
  before_set_step(set_step::remove);
  ::unlink(f.placed_ == output_file::placed::kept_aside
               ? kept_name_for(f.path_, process_mark()).c_str()
               : f.temp_.c_str());
}

void file_set::sync_folder() {
  if (!sync_writes() || lock_.folder_descriptor() < 0) return;
  before_set_step(set_step::sync);
  if (::fsync(lock_.folder_descriptor()) != 0)
    throw io_error(folder_, "sync the folder", reason(errno));
}

void replace_file(const std::string& path, std::string_view bytes) {
  const std::size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  file_set set(std::move(folder));
  set.add(slash == std::string::npos ? std::string_view(path)
                                     : std::string_view(path).substr(slash + 1))
      .write(bytes);
  set.commit();
}

std::uint64_t file_identity(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_ino) : 0;
}

unsigned long current_process_id() {
  return static_cast<unsigned long>(::getpid());
}

void end_process_at_once() {
  ::kill(::getpid(), SIGKILL);
  ::_exit(137);  // never reached: SIGKILL cannot be blocked
}

void move_over(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) throw io_error(to, "replace", reason(errno));
}

void sync_folder_named(const std::string& folder) {
  if (!sync_writes()) return;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw io_error(folder, "sync the folder", reason(errno));
  before_set_step(set_step::sync);
  const int synced = ::fsync(fd);
  const int err = errno;
  ::close(fd);
  if (synced != 0) throw io_error(folder, "sync the folder", reason(err));
}

void write_intent_file(const std::string& folder, const std::string& temp, const std::string& path,
                       std::string_view bytes) {
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw io_error(path, "create", reason(errno));
  before_set_step(set_step::write);
  bool whole = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (whole && sync_writes()) {
    before_set_step(set_step::sync);
    whole = ::fsync(fd) == 0;
  }
  const int err = errno;
  if (::close(fd) != 0 || !whole) {
    ::unlink(temp.c_str());
    throw io_error(path, "write", reason(whole ? errno : err));
  }
  before_set_step(set_step::rename);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int failed = errno;
    ::unlink(temp.c_str());
    throw io_error(path, "replace", reason(failed));
  }
  sync_folder_named(folder);
}

}  // namespace scenario
