// The default run: the shipped scenario from its embedded text to the
// simulator's binary files.
#pragma once

#include <string>

#include "platform/display.h"
#include "run/compile.h"

namespace scenario {

inline constexpr const char* k_shipped_line = "Corvale_Pianasco";
inline constexpr const char* k_shipped_train = "4816";

// Writes the shipped scenario's five text files into folder (the two
// descriptions, then the notes, the slowdown order and the timetable sheet).
void write_shipped_texts(const std::string& folder, const std::string& nome_linea,
                         const std::string& numero_treno);

// Form_Load: shows the progress window, writes the five text files into
// folder, compiles the two descriptions (deleting them), and writes the three
// binary files there. Throws what memorizza_percorso and the writers throw;
// out keeps what the compile found up to then.
void form_load(compile_result& out, const std::string& folder, display& ui);

// The same run, returning what the compile found.
compile_result form_load(const std::string& folder, display& ui);

}  // namespace scenario
