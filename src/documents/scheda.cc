#include "documents/scheda.h"

#include <iterator>

#include "model/file_names.h"
#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

// The sheet: title box, classification and blocked-mass boxes, then the
// timetable. A timetable row is a blank and seven cells between vertical bars,
// of 5, 5, 10, 5, 28, 16 and 5 characters (83 in all). In the time cell an
// arrival stands at positions 3-6, a passing time at 7-10 and a departure at
// 10-13. The progressives "148.362" and the second "180+329" are written as
// they stand on the sheet. Line 9 keeps its seven trailing blanks.
constexpr std::string_view k_lines[] = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n.4816    |                   da: Corvale               |    V160 B    |",
    " |___________________|                    a: Pianasco              |     120%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |       IR          |              |      330T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " |  75 |     | 171+940  |     | CORVALE                    |         5.58   |     |",
    " |  90 |     | 170+053  |     | Km 170+053                 |                |     |",
    " |     |     | 165+616  |     | BRUSETO                    |      6.04      | 0.5 |",
    " |  80 |     | 164+063  |     | Km 164+063                 |                |     |",
    " |  75 |     | 163+343  |     | Km 163+343                 |                |     |",
    " |     |     | 161+884  |     | ORTELLA                    |      6.07      |     |",
    " |     |     | 155+398  |     | PRELLO                     |      6.13      |     |",
    " |  80 |     | 148.362  |     | MONTALE ROSSIA             |  6.20   6.21   |     |",
    " |  90 |     | 144+523  |     | Km 144+523                 |                |     |",
    " |     |     | 142+374  |     | TORRASO                    |      6.26      |     |",
    " |     |     | 136+780  |     | SCAVETO                    |      6.31      |     |",
    " |     |     | 131+730  |     | VALPERA                    |      6.35      | 0.5 |",
    " |  80 |     | 129+000  |     | Km 129+000                 |                |     |",
    " |     |     | 126+800  |     | ROCCAFENDA                 |      6.39      |     |",
    " |     |     | 123+100  |     | MERIANO                    |      6.43      | 1.0 |",
    " |     |     | 117+710  |     | LIVANE                     |  6.48   6.49   |     |",
    " | 130 |     | 117+000  |     | Km 117+000                 |                |     |",
    " | 110 |     | 180+329  |     | Km 180+329                 |                |     |",
    " |     |     | 107+080  |     | PIANASCO                   |  6.56          |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
};
static_assert(std::size(k_lines) == 42);

}  // namespace

std::span<const std::string_view> scheda_content() {
  return k_lines;
}

void dati_scheda(std::string_view folder, std::string_view nome_linea,
                 std::string_view numero_treno) {
  write_text_file(join_path(folder, document_name(nome_linea, numero_treno, "scheda_treno.txt")),
                  k_lines);
}

}  // namespace scenario
