#include "sources/line_content.h"

#include <iterator>

#include "model/file_names.h"
#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

// The line description as it is written. Each section keeps its own spacing:
// four blanks after the comma in [generale]; two in [curve]; two before the
// position and three before the gradient in [pendenze]; three before the start
// and two before the end and the type in [montagne]; two before every field of
// a speed board, an empty field being just those two blanks.
constexpr std::string_view k_lines[] = {
    "[generale]",
    "lunghezza percorso,    70850",
    "progressiva chilometrica uno,    0,    172000,    1",
    "progressiva chilometrica due,    0,    0,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "sfondo uno,    60000",
    "sfondo due,    1",
    "sfondo tre,    2000",
    "ripetizione segnali 4 codici,    0,    70850",
    "[curve]",
    "curvad6,  500,  300",
    "curvad1,  1000,  300",
    "curvas2,  2500,  300",
    "curvas6,  3600,  300",
    "curvas6,  5000,  300",
    "curvas4,  7350,  300",
    "curvad4,  8250,  300",
    "curvad6,  8750,  300",
    "curvas5,  12650,  300",
    "curvas1,  15650,  600",
    "curvad6,  18450,  300",
    "curvas6,  19550,  300",
    "curvad4,  22500,  300",
    "curvad3,  23000,  300",
    "curvad2,  23450,  300",
    "curvad4,  23950,  300",
    "curvas6,  24550,  300",
    "curvad6,  29500,  300",
    "curvas3,  32000,  300",
    "curvas3,  33000,  300",
    "curvas4,  34450,  300",
    "curvad6,  35800,  300",
    "curvad6,  38200,  300",
    "curvas6,  38850,  300",
    "curvas6,  41200,  300",
    "curvas6,  51200,  300",
    "curvad6,  58050,  300",
    "curvas4,  62550,  300",
    "[pendenze]",
    "pendenza,  0,   0",
    "pendenza,  2950,   14",
    "pendenza,  6050,   0",
    "pendenza,  6500,   14",
    "pendenza,  8000,   15",
    "pendenza,  9450,   0",
    "pendenza,  10000,   27",
    "pendenza,  16300,   0",
    "pendenza,  16700,   27",
    "pendenza,  23000,   0",
    "pendenza,  23700,   27",
    "pendenza,  27400,   12",
    "pendenza,  29000,   0",
    "pendenza,  29800,   17",
    "pendenza,  30500,   -11",
    "pendenza,  34800,   0",
    "pendenza,  35300,   -11",
    "pendenza,  39800,   0",
    "pendenza,  40500,   -8",
    "pendenza,  45000,   0",
    "pendenza,  45300,   -8",
    "pendenza,  48450,   0",
    "pendenza,  49150,   -8",
    "pendenza,  53750,   0",
    "pendenza,  54500,   -17",
    "pendenza,  60550,   -10",
    "pendenza,  64500,   0",
    "[montagne]",
    "montagna,   8650,  8750,  12",
    "montagna,   26500,  27300,  11",
    "montagna,   30700,  32500,  11",
    "[cartelli]",
    "indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0",
    "indicatori_vmax,  7850,  75,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  8600,  70,  75,  75,  0,  ,  ,  ,  0",
    "indicatori_vmax,  24000,  75,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  27400,  80,  90,  90,  0,  ,  ,  ,  0",
    "indicatori_vmax,  42950,  75,  80,  80,  0,  ,  ,  ,  0",
    "indicatori_vmax,  54950,  125,  130,  130,  0,  ,  ,  ,  0",
    "indicatori_vmax,  63600,  100,  110,  110,  0,  ,  ,  ,  0",
    "[indicazioni]",
    "[fine]",
};
static_assert(std::size(k_lines) == 81);

}  // namespace

std::span<const std::string_view> line_content() {
  return k_lines;
}

std::string dati_linea(std::string_view folder, std::string_view nome_linea) {
  return write_text_file(join_path(folder, line_source_name(nome_linea)), k_lines);
}

}  // namespace scenario
