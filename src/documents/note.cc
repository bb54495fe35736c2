#include "documents/note.h"

#include <iterator>

#include "model/file_names.h"
#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

// The notes keep the trailing blank of lines 5, 7 and 13, end with an empty
// line and a line of one blank, and write the accented a of "realta" as the
// single Windows-1252 byte E0. The literal is closed right after that escape so
// that no letter added behind it can be read as a further hex digit.
constexpr std::string_view k_lines[] = {
    "La tratta simulata fa parte della linea Marenta - Orvia",
    "caratterizzata da forti pendenze sia in salita che in discesa",
    "ed a causa di alcuni raggi di curvatura molto ridotti",
    "non e' consentito il transito del locomotore E444.",
    "La linea e' a binaio unico e non e' in funzione il ",
    "ripetitore dei segnali (nella simulazione lo e' con 4 codici).",
    "Nella realt\xE0"
    " l' orario e' impostato per il locomotore E646 ",
    "peso bloccato 300 e percentuale peso frenato 120%.",
    "L'andamento planimetrico non rispecchia la realt\xE0"
    " in alcuni",
    "punti e nella ubicazione delle gallerie.",
    "Bisogna fare attenzione alle forti pendenze (sia in salita",
    "che in discesa).",
    "Alcuni segnali si dispongono a 'via libera' in ritardo per ",
    "ravvivare la simulazione.",
    "",
    " ",
};
static_assert(std::size(k_lines) == 16);

}  // namespace

std::span<const std::string_view> note_content() {
  return k_lines;
}

void dati_note(std::string_view folder, std::string_view nome_linea,
               std::string_view numero_treno) {
  write_text_file(join_path(folder, document_name(nome_linea, numero_treno, "note.txt")), k_lines);
}

}  // namespace scenario
