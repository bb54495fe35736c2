// The finishing step of a run with its file effects: reading the two
// descriptions (each once), the one compile, deleting what the run sequence
// deletes, and writing the binary files.
#pragma once

#include <string>

#include "platform/display.h"
#include "run/compile.h"

namespace scenario {

// Where a compile finds its two descriptions, what it calls them, whether
// they are deleted once read (the default run's sources are intermediate
// files; an author's files are never touched), and where the binary files go.
struct scenario_files {
  std::string nome_linea;
  std::string numero_treno;
  std::string line_path;
  std::string train_path;
  std::string line_name;  // as diagnostics show them; the paths when empty
  std::string train_name;
  bool delete_after_reading = true;
  std::string out_folder;
};

// The file effects of a compile that has run: deletes each description its
// compiler was done with (when files asks for it), then writes the binary
// files into files.out_folder: the line plan (when the plan was built), the
// station file and the route grid. Throws failure, with no binary file
// written, when the compile left no grid, and ends the run through errore on
// a stamp conflict.
void apply_compile(const compile_result& out, const scenario_files& files, display& ui);

// memorizza_percorso: reads the two descriptions (each once), compiles them
// with plan flag j into out, and applies the compile's file effects: after a
// hard stop of the line compiler the train description stays; after a
// run-time failure both go; a missing line description leaves both. out
// keeps what the compile found also when this throws.
void memorizza_percorso(std::int32_t j, const scenario_files& files, display& ui,
                        compile_result& out);

}  // namespace scenario
