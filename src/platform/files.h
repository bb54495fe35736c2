// File operations of the run, on the host's file system. Every failure throws
// io_error naming the file and the system's reason.
#pragma once

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

// The whole content of a file.
std::string read_file(const std::string& path);

// Deletes a file; one that does not exist is not an error.
void remove_file(const std::string& path);

// Replaces the file at path with exactly bytes. The name must be openable for
// writing first (a read-only file or a folder of that name is refused); the
// new content then goes to a temporary file in the same folder, which takes
// the name once it is complete, so a failed write never leaves a half-written
// file under the name.
void replace_file(const std::string& path, std::string_view bytes);

}  // namespace scenario
