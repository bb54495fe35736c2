// The default run: the shipped scenario from its embedded text to the
// simulator's binary files.
#pragma once

#include <string>
#include <vector>

#include "platform/display.h"
#include "run/compile.h"

namespace scenario {

inline constexpr const char* k_shipped_line = "Corvale_Pianasco";
inline constexpr const char* k_shipped_train = "4816";

// Writes the shipped scenario's five text files into folder (the two
// descriptions, then the notes, the slowdown order and the timetable sheet).
void write_shipped_texts(const std::string& folder, const std::string& nome_linea,
                         const std::string& numero_treno);

// One of the two descriptions the run writes into a folder and deletes once
// compiled: its path and the bytes the run writes there.
struct run_description {
  std::string path;
  std::string bytes;
};
std::vector<run_description> run_descriptions(const std::string& folder);

// A file moved out of the run's way.
struct moved_file {
  std::string from;
  std::string to;
};

// Moves each file that stands under a description's name in folder with
// other bytes than the run's own (an author's edit, say) to a free NAME.bak
// name, so that the run, which replaces and deletes that name, destroys
// nothing it did not write. A copy of the run's own bytes stays, to be
// replaced; a folder stays, for the run to refuse. Throws io_error.
std::vector<moved_file> set_aside_descriptions(const std::string& folder);

struct run_options {
  // When the run fails, delete the descriptions it wrote, which would
  // otherwise stand in the way of the next run (run -o). The plain run
  // leaves what it wrote before a failure.
  bool remove_descriptions_on_failure = false;
};

// Form_Load: shows the progress window, writes the five text files into
// folder, compiles the two descriptions as written (the texts it holds, not
// the files, which another process could change meanwhile), deletes them,
// and writes the three binary files there as one set. Throws what
// apply_compile and the writers throw; out keeps what the compile found up
// to then.
void form_load(compile_result& out, const std::string& folder, display& ui,
               const run_options& options = {});

// The same run, returning what the compile found.
compile_result form_load(const std::string& folder, display& ui);

}  // namespace scenario
