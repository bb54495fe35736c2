// A seam for the tests of the file layer: faults injected into the writing
// of temporary files and into the commit of a set. The program never sets
// one; a test sets it, provokes the fault and clears it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace scenario {

struct file_faults {
  // Asked before each write into the temporary file of path, with where the
  // write begins and how long it is; a nonzero errno fails that write.
  std::function<int(const std::string& path, std::uint64_t offset, std::size_t size)> write_error =
      nullptr;
  // Called once every member of a set is complete, before the first is put
  // in place (a test may end the process here, as a crash would).
  std::function<void()> before_rename = nullptr;
  // Asked before each member of a set is put in place; a nonzero errno fails
  // that rename.
  std::function<int(const std::string& path)> rename_error = nullptr;
};

// Makes faults the active ones until the next call; nullptr clears them.
void set_file_faults(const file_faults* faults);

// The active faults, or nullptr.
const file_faults* active_file_faults();

}  // namespace scenario
