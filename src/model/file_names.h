// The names of every file a run reads or writes, from the scenario's identity.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

inline std::string line_source_name(std::string_view nome_linea) {
  return std::string(nome_linea) + "_linea.txt";
}
inline std::string train_source_name(std::string_view nome_linea, std::string_view numero_treno) {
  return std::string(nome_linea) + "_" + std::string(numero_treno) + "-.txt";
}
// A driver document: suffix is "note.txt", "rallentamenti.txt" or "scheda_treno.txt".
inline std::string document_name(std::string_view nome_linea, std::string_view numero_treno,
                                 std::string_view suffix) {
  return std::string(nome_linea) + "_" + std::string(numero_treno) + "_" + std::string(suffix);
}
inline std::string plan_file_name(std::string_view nome_linea) {
  return std::string(nome_linea) + "_linea.dat";
}
inline std::string station_file_name(std::string_view nome_linea, std::string_view numero_treno) {
  return std::string(nome_linea) + "_" + std::string(numero_treno) + ".sim";
}
inline std::string grid_file_name(std::string_view nome_linea, std::string_view numero_treno) {
  return std::string(nome_linea) + "_" + std::string(numero_treno) + ".dat";
}

}  // namespace scenario
