// The slowdown order handed to the driver of the shipped scenario.
#pragma once

#include <span>
#include <string_view>

namespace scenario {

// The 46 lines of the slowdown order, without line ends.
std::span<const std::string_view> rallentamenti_content();

// dati_rallentamenti: writes NOME_NUM_rallentamenti.txt into folder.
void dati_rallentamenti(std::string_view folder, std::string_view nome_linea,
                        std::string_view numero_treno);

}  // namespace scenario
