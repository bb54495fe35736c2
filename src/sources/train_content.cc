#include "sources/train_content.h"

#include <iterator>

#include "model/file_names.h"
#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

// The train description as it is written. Values stand right-aligned in
// fixed fields that begin right after their comma:
//   aderenza       4, 7
//   velocita       8, 6
//   stazione       8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2, then one
//                  blank and the name up to the line end
//   rallentamento  8, 6, 5, 2, 3, 3
//   segnale        8, 4, 2, 2, 3, 2, 5, 3, 1, 1, then one blank and the delay
// The clock line separates its three values with blanks only and keeps one
// trailing blank.
constexpr std::string_view k_lines[] = {
    "[generale]",
    "numero vetture,    5",
    "percentuale massa frenata,    120",
    "sabbia,    300",
    "orologio,    5               57            30 ",
    "[aderenze]",
    "aderenza,   0,    100",
    "[vel_limite]",
    "velocita,       0,    75",
    "velocita,    1850,    90",
    "velocita,    8850,    80",
    "velocita,    9600,    75",
    "velocita,   23550,    80",
    "velocita,   27400,    90",
    "velocita,   43950,    80",
    "velocita,   54950,   130",
    "velocita,   64650,   110",
    "[stazioni]",
    "stazione,       0,  8,  300,  0, 0, 0,  1,1,0,  4,1,1,    1,   5,58, 0, CORVALE",
    "stazione,    6300, 12,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, BRUSETO",
    "stazione,    9800, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, Ortella",
    "stazione,   16550, 24,  300,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, PRELLO",
    "stazione,   23400, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   60,   6,21, 0, MONTALE ROSSIA",
    "stazione,   29500, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, TORRASO",
    "stazione,   35100, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, SCAVETO-LIRANO",
    "stazione,   40200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,  130,   0, 0, 0, VALPERA",
    "stazione,   45150, 24,  200,  0, 0, 0,  0,0,0,  4,1,1,    1,   0, 0, 0, ROCCAFENDA",
    "stazione,   48850, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,  115,   0, 0, 0, MERIANO",
    "stazione,   54200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   60,   6,49, 0, LIVANE-MORASCHI",
    "stazione,   64850, 12,  500,  1, 0, 0,  1,1,0,  2,1,1,    0,   6,56, 0, PIANASCO",
    "[rallentamenti]",
    "rallentamento,   51150,    50,  200, 0,  1,  0",
    "[segnali]",
    "segnale,    4000,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,    4850,   2, 4, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,    7550,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,    8800,   2, 4, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   14000,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   15250,   2, 4, 1,  1, 0,    0,  0,0,0, 140",
    "segnale,   21050,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   22250,   2, 3, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   27050,   1, 4, 1,  0, 0,    0,  0,0,0, 220",
    "segnale,   28250,   2, 4, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   32650,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   33850,   2, 4, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   37700,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   38900,   2, 3, 1,  1, 0,    0,  0,0,0, 150",
    "segnale,   42600,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   43800,   2, 3, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   46350,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   47500,   2, 3, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   51700,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   52900,   2, 3, 1,  1, 0,    0,  0,0,0, 0",
    "segnale,   62350,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,   63550,   2, 2, 3,  1, 1,    0,  0,0,0, 0",
    "[codici]",
    "[fine]",
};
static_assert(std::size(k_lines) == 57);

}  // namespace

std::span<const std::string_view> train_content() {
  return k_lines;
}

std::string dati_treno(std::string_view folder, std::string_view nome_linea,
                       std::string_view numero_treno) {
  return write_text_file(join_path(folder, train_source_name(nome_linea, numero_treno)), k_lines);
}

}  // namespace scenario
