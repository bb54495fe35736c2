#include "documents/rallentamenti.h"

#include <iterator>

#include "model/file_names.h"
#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

// The form: heading, order sentence, a table of 26 rows (one filled, 25 empty)
// between its head and its bottom rule, and the key to the prescriptions.
// Table lines are 82 characters: a blank, then cells of 3, 28, 12, 10, 9 and
// 12 characters, each between vertical bars.
// The key keeps the form's own spelling "Rallentamneto" and its order, D before C.
constexpr std::string_view k_lines[] = {
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    "  Linea  CORVALE PIANASCO",
    "",
    "  Si ordina al macchinista del treno 4816  di effettuare i seguenti rallentamenti",
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
    " | 1 | MERIANO - LIVANE           |    121     |    50    |   200   |   ----     |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |___|____________________________|____________|__________|_________|____________|",
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};
static_assert(std::size(k_lines) == 46);

}  // namespace

std::span<const std::string_view> rallentamenti_content() {
  return k_lines;
}

void dati_rallentamenti(std::string_view folder, std::string_view nome_linea,
                        std::string_view numero_treno) {
  write_text_file(join_path(folder, document_name(nome_linea, numero_treno, "rallentamenti.txt")),
                  k_lines);
}

}  // namespace scenario
