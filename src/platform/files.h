// File operations of the run, on the host's file system. Every failure throws
// io_error naming the file and the system's reason.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "common/diagnostic.h"

namespace scenario {

// A file operation that failed: "cannot ACTION 'PATH': REASON".
class io_error : public failure {
 public:
  io_error(std::string path, const std::string& action, const std::string& reason)
      : failure(program_diagnostic("cannot " + action + " '" + path + "': " + reason)),
        path_(std::move(path)) {}
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The folder that holds the running executable.
std::string executable_folder();

// folder, the platform's separator, name. A folder that already ends with a
// separator gets a second one, which the file system accepts.
std::string join_path(std::string_view folder, std::string_view name);

// True when path names an existing regular file.
bool file_exists(const std::string& path);

// The whole content of the file at path (through links). Anything but a
// regular file (a folder, a FIFO, a device) is refused before it is opened,
// so that reading can never wait for a writer; a file larger than max_bytes
// is refused with its size, named as what ("a description").
std::string read_file(const std::string& path,
                      std::uint64_t max_bytes = std::numeric_limits<std::uint64_t>::max(),
                      std::string_view what = "the file");

// True when path names a regular file, not a link, holding exactly bytes.
bool holds_exactly(const std::string& path, std::string_view bytes);

// Renames what stands at path to the first free name of PATH.bak,
// PATH.bak.1, PATH.bak.2 and so on, never over anything; returns that name.
// Throws io_error.
std::string move_aside(const std::string& path);

// Deletes a file; one that does not exist is not an error.
void remove_file(const std::string& path);

// Replaces the file at path with exactly bytes, as a file set of one
// (file_set.h): the name never stands missing or half written, a failure
// leaves the older file, and a read-only file or a folder under the name is
// refused.
void replace_file(const std::string& path, std::string_view bytes);

}  // namespace scenario
