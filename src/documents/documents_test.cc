#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda.h"
#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

using quoted_lines = std::vector<std::pair<int, std::string>>;

// Each quoted line, numbered from 1, stands in lines as it is quoted.
void expect_lines(std::span<const std::string_view> lines, const quoted_lines& quoted) {
  for (const auto& [number, text] : quoted) EXPECT_EQ(lines[number - 1], text) << "line " << number;
}

// The columns of the vertical bars in line.
std::vector<std::size_t> bars(std::string_view line) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '|') at.push_back(i);
  }
  return at;
}

TEST(DocumentNotes, BytesOfTheText) {
  const std::string bytes = render_lines(note_content());
  EXPECT_EQ(bytes,
            "La tratta simulata fa parte della linea Marenta - Orvia\r\n"
            "caratterizzata da forti pendenze sia in salita che in discesa\r\n"
            "ed a causa di alcuni raggi di curvatura molto ridotti\r\n"
            "non e' consentito il transito del locomotore E444.\r\n"
            "La linea e' a binaio unico e non e' in funzione il \r\n"
            "ripetitore dei segnali (nella simulazione lo e' con 4 codici).\r\n"
            "Nella realt\xE0 l' orario e' impostato per il locomotore E646 \r\n"
            "peso bloccato 300 e percentuale peso frenato 120%.\r\n"
            "L'andamento planimetrico non rispecchia la realt\xE0 in alcuni\r\n"
            "punti e nella ubicazione delle gallerie.\r\n"
            "Bisogna fare attenzione alle forti pendenze (sia in salita\r\n"
            "che in discesa).\r\n"
            "Alcuni segnali si dispongono a 'via libera' in ritardo per \r\n"
            "ravvivare la simulazione.\r\n"
            "\r\n"
            " \r\n");
  EXPECT_EQ(bytes.size(), 731u);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\xE0'), 2);
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) {
    return c == '\xE0' || c == '\r' || c == '\n' || (c >= ' ' && c < 0x7F);
  }));
}

TEST(DocumentRallentamenti, LayoutOfTheForm) {
  const auto lines = rallentamenti_content();
  ASSERT_EQ(lines.size(), 46u);
  EXPECT_EQ(render_lines(lines).size(), 3285u);
  const std::string rule =
      " |___|____________________________|____________|__________|_________|____________|";
  expect_lines(
      lines,
      {{1, ""},
       {2, std::string(31, ' ') + "Modulo M. 3"},
       {3, std::string(27, ' ') + "ORDINE DI RALLENTAMENTO"},
       {4, " " + std::string(80, '_')},
       {5, "  Linea  CORVALE PIANASCO"},
       {6, ""},
       {7, "  Si ordina al macchinista del treno 4816  di effettuare i seguenti rallentamenti"},
       {8, "  " + std::string(79, '_')},
       {9, " |   |                            |Inizio dopo |          |         |            |"},
       {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
       {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
       {12, rule},
       {13, " | 1 | MERIANO - LIVANE           |    121     |    50    |   200   |   ----     |"},
       {39, rule},
       {40, ""},
       {41, "              Prescrizioni specifiche"},
       {42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
       {43, " B - Interessa anche la stazione di......."},
       {44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
       {45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
       {46, "     i giorni esclusi i seguenti:........."}});
  // A blank, then cells of 3, 28, 12, 10, 9 and 12 characters between bars.
  const std::vector<std::size_t> columns = {1, 5, 34, 47, 58, 68, 81};
  for (int i = 9; i <= 39; ++i) {
    EXPECT_EQ(lines[i - 1].size(), 82u) << "line " << i;
    EXPECT_EQ(bars(lines[i - 1]), columns) << "line " << i;
  }
  // The 25 rows after the filled one are empty.
  for (int i = 14; i <= 38; ++i) {
    EXPECT_EQ(lines[i - 1].find_first_not_of(" |"), std::string::npos) << "line " << i;
  }
}

// A timetable row: a blank and cells of 5, 5, 10, 5, 28, 16 and 5 characters between bars.
std::string row(std::string_view limit, std::string_view progressive, std::string_view place,
                std::string_view arrival, std::string_view passing, std::string_view departure,
                std::string_view recovery) {
  std::string time(16, ' ');
  time.replace(2, arrival.size(), arrival);
  time.replace(6, passing.size(), passing);
  time.replace(9, departure.size(), departure);
  auto left = [](std::string_view text, std::size_t width) {
    return (" " + std::string(text)).append(width - 1 - text.size(), ' ');
  };
  const std::string speed =
      limit.empty() ? "     " : std::string(4 - limit.size(), ' ') + std::string(limit) + " ";
  const std::string rec = recovery.empty() ? "     " : " " + std::string(recovery) + " ";
  return " |" + speed + "|     |" + left(progressive, 10) + "|     |" + left(place, 28) + "|" +
         time + "|" + rec + "|";
}

TEST(DocumentScheda, LayoutOfTheSheet) {
  const auto lines = scheda_content();
  ASSERT_EQ(lines.size(), 42u);
  EXPECT_EQ(render_lines(lines).size(), 3138u);
  const std::string rule =
      " |_____|_____|__________|_____|____________________________|________________|_____|";
  expect_lines(
      lines,
      {{1, ""},
       {2, ""},
       {3, "  ___________________" + std::string(47, ' ') + "______________"},
       {4, " |                   |                    SCHEDA                   |              |"},
       {5, " |   TRENO n.4816    |                   da: Corvale               |    V160 B    |"},
       {6, " |___________________|                    a: Pianasco              |     120%     |"},
       {7, std::string(67, ' ') + "|______________|"},
       {8, "  ___________________                ___________________"},
       {9, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
       {10, " |       IR          |              |      330T         |"},
       {11, " |___________________|              |___________________|"},
       {12, ""},
       {13, "  " + std::string(80, '_')},
       {14, " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |"},
       {15, " | Lim.|Marc.|          |  Rs |                            |                |     |"},
       {16, rule},
       {17, " |  75 |     | 171+940  |     | CORVALE                    |         5.58   |     |"},
       {24, " |  80 |     | 148.362  |     | MONTALE ROSSIA             |  6.20   6.21   |     |"},
       {41, rule},
       {42, ""}});
  for (int i : {4, 5, 6, 7}) EXPECT_EQ(lines[i - 1].size(), 83u) << "line " << i;
  const std::vector<std::size_t> columns = {1, 7, 13, 24, 30, 59, 76, 82};
  for (int i = 14; i <= 41; ++i) {
    EXPECT_EQ(lines[i - 1].size(), 83u) << "line " << i;
    EXPECT_EQ(bars(lines[i - 1]), columns) << "line " << i;
  }
  const std::string rows[] = {row("75", "171+940", "CORVALE", "", "", "5.58", ""),
                              row("90", "170+053", "Km 170+053", "", "", "", ""),
                              row("", "165+616", "BRUSETO", "", "6.04", "", "0.5"),
                              row("80", "164+063", "Km 164+063", "", "", "", ""),
                              row("75", "163+343", "Km 163+343", "", "", "", ""),
                              row("", "161+884", "ORTELLA", "", "6.07", "", ""),
                              row("", "155+398", "PRELLO", "", "6.13", "", ""),
                              row("80", "148.362", "MONTALE ROSSIA", "6.20", "", "6.21", ""),
                              row("90", "144+523", "Km 144+523", "", "", "", ""),
                              row("", "142+374", "TORRASO", "", "6.26", "", ""),
                              row("", "136+780", "SCAVETO", "", "6.31", "", ""),
                              row("", "131+730", "VALPERA", "", "6.35", "", "0.5"),
                              row("80", "129+000", "Km 129+000", "", "", "", ""),
                              row("", "126+800", "ROCCAFENDA", "", "6.39", "", ""),
                              row("", "123+100", "MERIANO", "", "6.43", "", "1.0"),
                              row("", "117+710", "LIVANE", "6.48", "", "6.49", ""),
                              row("130", "117+000", "Km 117+000", "", "", "", ""),
                              row("110", "180+329", "Km 180+329", "", "", "", ""),
                              row("", "107+080", "PIANASCO", "6.56", "", "", "")};
  for (int i = 17; i <= 35; ++i) EXPECT_EQ(lines[i - 1], rows[i - 17]) << "line " << i;
  for (int i = 36; i <= 40; ++i) EXPECT_EQ(lines[i - 1], row("", "", "", "", "", "", ""));
}

// Writes over an older, longer file of the name and returns what is then on disk.
template <typename Write>
std::string written_over_older_file(const std::string& name, Write write) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("documents_test_" + std::to_string(::getpid()) + "_" + name);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / name) << std::string(5000, 'x');
  write(folder.string());
  const std::string bytes = read_file((folder / name).string());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << name;
  std::filesystem::remove_all(folder);
  return bytes;
}

TEST(DocumentWriters, ReplaceAnOlderFileOfTheirName) {
  const std::string note = written_over_older_file(
      "Corvale_Pianasco_4816_note.txt",
      [](const std::string& f) { dati_note(f, "Corvale_Pianasco", "4816"); });
  EXPECT_EQ(note.size(), 731u);
  EXPECT_EQ(note, render_lines(note_content()));
  const std::string order = written_over_older_file(
      "Corvale_Pianasco_4816_rallentamenti.txt",
      [](const std::string& f) { dati_rallentamenti(f, "Corvale_Pianasco", "4816"); });
  EXPECT_EQ(order.size(), 3285u);
  EXPECT_EQ(order, render_lines(rallentamenti_content()));
  const std::string sheet = written_over_older_file(
      "Corvale_Pianasco_4816_scheda_treno.txt",
      [](const std::string& f) { dati_scheda(f, "Corvale_Pianasco", "4816"); });
  EXPECT_EQ(sheet.size(), 3138u);
  EXPECT_EQ(sheet, render_lines(scheda_content()));
}

}  // namespace
}  // namespace scenario
