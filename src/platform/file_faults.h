// A seam for the tests of the file layer: faults injected into the writing
// of temporary files and into the commit of a set. The program never sets
// one; a test sets it, provokes the fault and clears it again. A second seam
// stops the whole program at one step of a set's replacement, for the tests
// that end a writer at every step as a kill -9 or a power loss would.
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

// The steps of a set's replacement, counted each on its own: every write
// into a file of the set or its record, every sync, every rename (and, on
// Windows, every link that keeps an older file), every removal.
enum class set_step { write, sync, rename, remove };

// Called before each step. When the environment variable
// SCENARIO_GEN_STOP_AT holds "KIND:N" (write, sync, rename or remove, and N
// from 1), the Nth step of that kind ends the process there and then, with
// no clean-up, as SIGKILL would (exit status 137 on Windows). Any other
// value, or none, leaves every step alone.
void before_set_step(set_step step);

// Ends the process at once, as SIGKILL would; each system's own.
[[noreturn]] void end_process_at_once();

// Makes faults the active ones until the next call; nullptr clears them.
void set_file_faults(const file_faults* faults);

// The active faults, or nullptr.
const file_faults* active_file_faults();

}  // namespace scenario
