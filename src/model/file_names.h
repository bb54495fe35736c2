// The names of every file a run reads or writes, from the scenario's identity.
// The names are Windows-1252 text, as the station table stores them; the file
// names are the same characters in the host's UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "common/utf8_text.h"

namespace scenario {

// How the names of the two descriptions end: NAME_linea.txt, and
// NAME_NUM-.txt (or any name ending so, for a train description).
inline constexpr std::string_view k_line_source_suffix = "_linea.txt";
inline constexpr std::string_view k_train_source_suffix = "-.txt";

inline std::string line_source_name(std::string_view nome_linea) {
  return utf8_from_1252(nome_linea) + std::string(k_line_source_suffix);
}
inline std::string train_source_name(std::string_view nome_linea, std::string_view numero_treno) {
  return utf8_from_1252(nome_linea) + "_" + utf8_from_1252(numero_treno) +
         std::string(k_train_source_suffix);
}
// A driver document: suffix is "note.txt", "rallentamenti.txt" or "scheda_treno.txt".
inline std::string document_name(std::string_view nome_linea, std::string_view numero_treno,
                                 std::string_view suffix) {
  return utf8_from_1252(nome_linea) + "_" + utf8_from_1252(numero_treno) + "_" +
         std::string(suffix);
}
inline std::string plan_file_name(std::string_view nome_linea) {
  return utf8_from_1252(nome_linea) + "_linea.dat";
}
inline std::string station_file_name(std::string_view nome_linea, std::string_view numero_treno) {
  return utf8_from_1252(nome_linea) + "_" + utf8_from_1252(numero_treno) + ".sim";
}
inline std::string grid_file_name(std::string_view nome_linea, std::string_view numero_treno) {
  return utf8_from_1252(nome_linea) + "_" + utf8_from_1252(numero_treno) + ".dat";
}

}  // namespace scenario
