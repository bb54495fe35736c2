// The driver notes of the shipped scenario.
#pragma once

#include <span>
#include <string_view>

namespace scenario {

// The 16 lines of the notes (single-byte Windows-1252 text), without line ends.
std::span<const std::string_view> note_content();

// dati_note: writes NOME_NUM_note.txt into folder.
void dati_note(std::string_view folder, std::string_view nome_linea, std::string_view numero_treno);

}  // namespace scenario
