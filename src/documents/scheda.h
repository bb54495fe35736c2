// The timetable sheet handed to the driver of the shipped scenario.
#pragma once

#include <span>
#include <string_view>

namespace scenario {

// The 42 lines of the timetable sheet, without line ends.
std::span<const std::string_view> scheda_content();

// dati_scheda: writes NOME_NUM_scheda_treno.txt into folder.
void dati_scheda(std::string_view folder, std::string_view nome_linea,
                 std::string_view numero_treno);

}  // namespace scenario
