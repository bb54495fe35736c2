// The embedded line description of the shipped scenario.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The 81 lines of the line description, in file order, without line ends.
std::span<const std::string_view> line_content();

// dati_linea: writes the line description NOME_linea.txt into folder;
// returns the bytes written, which the run compiles.
std::string dati_linea(std::string_view folder, std::string_view nome_linea);

}  // namespace scenario
