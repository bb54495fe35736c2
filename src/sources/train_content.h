// The embedded train description of the shipped scenario.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The 57 lines of the train description, in file order, without line ends.
std::span<const std::string_view> train_content();

// dati_treno: writes the train description NOME_NUM-.txt into folder;
// returns the bytes written, which the run compiles.
std::string dati_treno(std::string_view folder, std::string_view nome_linea,
                       std::string_view numero_treno);

}  // namespace scenario
