// The default run: the shipped scenario from its embedded text to the
// simulator's binary files.
#pragma once

#include <string>

#include "platform/display.h"
#include "run/run_state.h"

namespace scenario {

inline constexpr const char* k_shipped_line = "Corvale_Pianasco";
inline constexpr const char* k_shipped_train = "4816";

// Writes the shipped scenario's five text files into folder (the two
// descriptions, then the notes, the slowdown order and the timetable sheet).
void write_shipped_texts(const std::string& folder, const std::string& nome_linea,
                         const std::string& numero_treno);

// Form_Load: sets the scenario's names in st, shows the progress window,
// writes the five text files into folder, compiles the two descriptions
// (deleting them), and writes the three binary files there. Throws what
// memorizza_percorso and the writers throw; st keeps the faults recorded up
// to then.
void form_load(run_state& st, const std::string& folder, display& ui);

// The same run, returning the state it ended with.
run_state form_load(const std::string& folder, display& ui);

}  // namespace scenario
