// check: every problem of both descriptions in one pass, each with its
// line, column, source line and notes; nothing written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::slurp;

void write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

testing::program_result run(const std::string& args, const fs::path& folder) {
  return testing::run_program(SCENARIO_GEN_EXE, args, folder);
}

// err without the warnings of the missing-record group, which the cases
// built from a few records all get and which have no source line.
std::string without_missing_records(const std::string& err) {
  std::string out;
  for (std::size_t at = 0; at < err.size();) {
    const std::size_t end = std::min(err.find('\n', at), err.size() - 1) + 1;
    const std::string_view line = std::string_view(err).substr(at, end - at);
    if (!line.ends_with(" [-Wmissing-record]\n")) out += line;
    at = end;
  }
  return out;
}

struct check_case {
  const char* name;
  std::string line;
  std::string train;
  std::string err;  // all that check prints; it always ends with status 1 here
};

// Each mistake an author makes that the reading rules accept silently, or
// that used to be blamed on another line.
std::vector<check_case> check_cases() {
  return {
      {"MisspeltKeywords",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "pendeza, 100, 5\r\n"
       "curvd4, 500, 300\r\n"
       "Sfondo uno, 1\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "orlogio, 5 57 30\r\n"
       "stazone, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\r\n"
       "rallentamneto, 5000, 50, 200, 0, 1, 0\r\n"
       "segnlae, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
       "[fine]\r\n",
       "c_linea.txt:4:1: warning: 'pendeza' is not a keyword of the line description: this record "
       "and its values are not read; did you mean 'pendenza'? [-Wunknown-keyword]\n"
       "pendeza, 100, 5\n"
       "^\n"
       "c_linea.txt:5:1: warning: 'curvd4' is not a keyword of the line description: this record "
       "and its values are not read; did you mean 'curvad4'? [-Wunknown-keyword]\n"
       "curvd4, 500, 300\n"
       "^\n"
       "c_linea.txt:6:1: warning: 'Sfondo uno' stands after [generale], where it is not read "
       "[-Wsection]\n"
       "Sfondo uno, 1\n"
       "^\n"
       "c_1-.txt:5:1: warning: 'orlogio' is not a keyword of the train description: this record "
       "and its values are not read; did you mean 'orologio'? [-Wunknown-keyword]\n"
       "orlogio, 5 57 30\n"
       "^\n"
       "c_1-.txt:6:1: warning: 'stazone' is not a keyword of the train description: this record "
       "and its values are not read; did you mean 'stazione'? [-Wunknown-keyword]\n"
       "stazone, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "^\n"
       "c_1-.txt:7:1: warning: 'rallentamneto' is not a keyword of the train description: this "
       "record and its values are not read; did you mean 'rallentamento'? [-Wunknown-keyword]\n"
       "rallentamneto, 5000, 50, 200, 0, 1, 0\n"
       "^\n"
       "c_1-.txt:8:1: warning: 'segnlae' is not a keyword of the train description: this record "
       "and its values are not read; did you mean 'segnale'? [-Wunknown-keyword]\n"
       "segnlae, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "^\n"},
      {"ValuesAfterTheLastOne",
       "[generale]\r\n"
       "lunghezza percorso, 12000 m\r\n"
       "[curve]\r\n"
       "pendenza, 100, 5, 7\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "velocita, 1850, 100 km/h\r\n"
       "[fine]\r\n",
       "c_linea.txt:2:27: warning: 'm' after the last value is not read: the format has no units; "
       "write the number alone [-Wunits]\n"
       "lunghezza percorso, 12000 m\n"
       "                          ^\n"
       "c_linea.txt:4:19: warning: '7' after the record's last value is not read [-Wstray-value]\n"
       "pendenza, 100, 5, 7\n"
       "                  ^\n"
       "c_1-.txt:5:21: warning: 'km/h' after the last value is not read: the format has no units; "
       "write the number alone [-Wunits]\n"
       "velocita, 1850, 100 km/h\n"
       "                    ^\n"},
      {"ARecordOnTheLineOfTheOneBefore",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "cartello indicatore, 1000, \"A\"pendenza, 3000, 5\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A, abbattimento, 2000, 7\r\n"
       "[fine]\r\n",
       "c_linea.txt:4:31: warning: 'pendenza, 3000, 5' after the record's last value is read as "
       "the next record: begin each record on a line of its own [-Wseparator]\n"
       "cartello indicatore, 1000, \"A\"pendenza, 3000, 5\n"
       "                              ^\n"
       "c_1-.txt:4:56: warning: 'abbattimento, 2000, 7' after the record's last value is read as "
       "the next record: begin each record on a line of its own [-Wseparator]\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A, abbattimento, 2000, 7\n"
       "                                                       ^\n"},
      {"TextCutAtAComma",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "cartello indicatore, 7000, BORGO, SAN MARCO\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, BORGO, SAN MARCO\r\n"
       "[fine]\r\n",
       "c_linea.txt:4:35: warning: the text is cut at the comma: 'SAN MARCO' after it is not part "
       "of it; write the whole text in double quotes to keep the comma [-Wtext-cut]\n"
       "cartello indicatore, 7000, BORGO, SAN MARCO\n"
       "                                  ^\n"
       "c_1-.txt:5:65: warning: the text is cut at the comma: 'SAN MARCO' after it is not part of "
       "it; write the whole text in double quotes to keep the comma [-Wtext-cut]\n"
       "stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, BORGO, SAN MARCO\n"
       "                                                                ^\n"},
      {"TextsTheSimulatorCannotShowAsMeant",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "cartello indicatore, 7000, A\x01"
       "B\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, CITT\xc3"
       "\x80"
       "\r\n"
       "stazione, 8000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,20,0, LAGO\tNORD\r\n"
       "[fine]\r\n",
       "c_linea.txt:4:28: warning: board text 'A?B' holds the byte 0x01, which Windows-1252 does "
       "not print [-Wencoding]\n"
       "cartello indicatore, 7000, A?B\n"
       "                           ^\n"
       "c_1-.txt:5:58: warning: station name 'CITT\xc3"
       "\x83"
       "\xe2"
       "\x82"
       "\xac' holds bytes that form UTF-8 ('\xc3"
       "\x80'): the file looks like UTF-8, but it is read as Windows-1252 and the simulator shows "
       "those bytes as they stand here; save the file as Windows-1252 or give --encoding utf-8 "
       "[-Wencoding]\n"
       "stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, CITT\xc3"
       "\x83"
       "\xe2"
       "\x82"
       "\xac\n"
       "                                                         ^\n"
       "c_1-.txt:6:58: warning: station name 'LAGO\tNORD' holds a tab, which is part of the text: "
       "fields are separated by commas [-Wtext-cut]\n"
       "stazione, 8000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,20,0, LAGO\tNORD\n"
       "                                                         ^\n"},
      {"CommentsAndTabs",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "# curva vicino al ponte, attenzione\r\n"
       "pendenza\t2950\t14\r\n"
       "pendenza, 3000, 5\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "; treno storico\r\n"
       "[fine]\r\n",
       "c_linea.txt:4:1: warning: '# curva vicino al ponte' looks like a comment, but the format "
       "has none: it is read as a curve record [-Wcomment]\n"
       "# curva vicino al ponte, attenzione\n"
       "^\n"
       "c_linea.txt:4:26: error: 'attenzione' is not a whole number (code 25)\n"
       "# curva vicino al ponte, attenzione\n"
       "                         ^\n"
       "c_linea.txt:5:1: warning: 'pendenza\t2950\t14' holds a tab, which is part of the keyword "
       "field: fields are separated by commas [-Wseparator]\n"
       "pendenza\t2950\t14\n"
       "^\n"
       "c_linea.txt:5:1: error: the record ran short: its line holds 0 values of the 2 a gradient "
       "record takes (missing p and g), so the next was read from line 6, where 'pendenza' is not "
       "a whole number (code 25)\n"
       "pendenza\t2950\t14\n"
       "^\n"
       "c_linea.txt:6:1: note: the missing value was taken from here\n"
       "pendenza, 3000, 5\n"
       "^\n"
       "c_1-.txt:5:1: warning: '; treno storico' looks like a comment, but the format has none: it "
       "is read as a field that matches no keyword [-Wcomment]\n"
       "; treno storico\n"
       "^\n"},
      {"RecordThatRanShort",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "pendenza, 2950\r\n"
       "pendenza, 3000, 5\r\n"
       "montagna, 8000, 8500\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "segnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0\r\n"
       "[fine]\r\n",
       "c_linea.txt:4:1: error: the record ran short: its line holds 1 value of the 2 a gradient "
       "record takes (missing g), so the next was read from line 5, where 'pendenza' is not a "
       "whole number (code 25)\n"
       "pendenza, 2950\n"
       "^\n"
       "c_linea.txt:5:1: note: the missing value was taken from here\n"
       "pendenza, 3000, 5\n"
       "^\n"
       "c_linea.txt:6:1: error: the record ran short: its line holds 2 values of the 3 a scenery "
       "record takes (missing tipo), so the next was read from line 7, where '[fine]' is not a "
       "whole number (code 25)\n"
       "montagna, 8000, 8500\n"
       "^\n"
       "c_linea.txt:7:1: note: the missing value was taken from here\n"
       "[fine]\n"
       "^\n"
       "c_1-.txt:5:1: error: the record ran short: its line holds 10 values of the 11 a signal "
       "record takes (missing tempo), so the next was read from line 6, where '[fine]' is not a "
       "whole number (code 25)\n"
       "segnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0\n"
       "^\n"
       "c_1-.txt:6:1: note: the missing value was taken from here\n"
       "[fine]\n"
       "^\n"},
      {"PositionsPastTheGridNameTheRouteLength",
       "[generale]\r\n"
       "lunghezza percorso, 12 km\r\n"
       "[curve]\r\n"
       "pendenza, 6950, 14\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "segnale, 6950, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
       "[fine]\r\n",
       "c_linea.txt:2:24: warning: 'km' after the last value is not read: the format has no units; "
       "write the number alone [-Wunits]\n"
       "lunghezza percorso, 12 km\n"
       "                       ^\n"
       "c_linea.txt:4:11: error: position too close to the end of the route grid (code 15, at 6950 "
       "m)\n"
       "pendenza, 6950, 14\n"
       "          ^\n"
       "c_linea.txt:2:1: note: the route length 12 m set here ends the grid at 7000 m: an object "
       "must stand 100 m before that, a station 800 m\n"
       "lunghezza percorso, 12 km\n"
       "^\n"
       "c_1-.txt:5:10: error: position too close to the end of the route grid (code 15, at 6950 "
       "m)\n"
       "segnale, 6950, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "         ^\n"
       "c_linea.txt:2:1: note: the route length 12 m set here ends the grid at 7000 m: an object "
       "must stand 100 m before that, a station 800 m\n"
       "lunghezza percorso, 12 km\n"
       "^\n"},
      {"TakenCellsNameTheRecordHoldingThem",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\r\n"
       "cartello indicatore, 1850, PONTE\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "segnale, 1850, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
       "rallentamento, 4000, 50, 200, 0, 0, 0\r\n"
       "rallentamento, 4200, 50, 200, 0, 0, 0\r\n"
       "[fine]\r\n",
       "c_linea.txt:5:22: error: text board on an occupied cell (code 6, at 1850 m)\n"
       "cartello indicatore, 1850, PONTE\n"
       "                     ^\n"
       "c_linea.txt:4:1: note: the cell is already taken by the record here\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\n"
       "^\n"
       "c_1-.txt:5:10: error: signal cell occupied (code 16, at 1850 m)\n"
       "segnale, 1850, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "         ^\n"
       "c_linea.txt:4:1: note: the cell is already taken by the record here\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\n"
       "^\n"
       "c_1-.txt:7:16: error: slowdown start cell occupied (code 18, at 4200 m)\n"
       "rallentamento, 4200, 50, 200, 0, 0, 0\n"
       "               ^\n"
       "c_1-.txt:6:1: note: the cell is already taken by the record here: cell 85 (4200 m) is its "
       "end cell, its start plus its length\n"
       "rallentamento, 4000, 50, 200, 0, 0, 0\n"
       "^\n"},
      {"RecordsCutByTheEndOfTheFile",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "pendenza, 100",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "sabbia, 99999",
       "c_linea.txt:4:1: error: the record ran short: its line holds 1 value of the 2 a gradient "
       "record takes (missing g), and the file ends where another value was expected (code 25)\n"
       "pendenza, 100\n"
       "^\n"
       "c_1-.txt:5:9: error: 99999 does not fit a 16-bit field (-32768 to 32767) (code 25)\n"
       "sabbia, 99999\n"
       "        ^\n"},
      {"SpeedLimitThatDoesNotFitFailsOneRecord",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 2000\r\n"
       "velocita, 1850, 90\r\n"
       "velocita, 3000, 100\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "[fine]\r\n",
       "c_1-.txt:2:14: warning: speed limit 2000 km/h does not fit the grid (0 to 1277 km/h); the "
       "compile stops with code 25 where it is written, at the next speed limit or at the end of "
       "the file [-Wrange]\n"
       "velocita, 0, 2000\n"
       "             ^\n"
       "c_1-.txt:3:17: error: a speed limit divided by 5 does not fit its field (code 25)\n"
       "velocita, 1850, 90\n"
       "                ^\n"},
      {"StampPlaceTakenNamesTheRecord",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "abbattimento, 50, 7\r\n"
       "[fine]\r\n",
       "scenario_gen: error: message 1250: a reserved stamp place in grid cell 1 is already taken\n"
       "c_1-.txt:5:1: note: the record here puts its object in grid cell 1, within the first 75 m "
       "of the line; move it further along\n"
       "abbattimento, 50, 7\n"
       "^\n"},
      {"TimesGoingBackAlongTheLine",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "stazione, 4000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, B\r\n"
       "stazione, 6000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 5,50,0, C\r\n"
       "[fine]\r\n",
       "c_1-.txt:6:50: warning: station 'C' at 6000 m: its time 5:50:00 is earlier than 6:00:00 at "
       "'A' (line 4) before it; times must not go backwards along the line [-Worder]\n"
       "stazione, 6000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 5,50,0, C\n"
       "                                                 ^\n"},
      {"EveryFaultOfBothFilesInOnePass",
       "[generale]\r\n"
       "lunghezza percorso, 2000000\r\n"
       "ripetizione segnali 4 codici, 10, 20\r\n"
       "[curve]\r\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\r\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n"
       "abbattimento, 1000, x\r\n"
       "sabbia, 40000\r\n"
       "stazione, 5025, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\r\n"
       "segnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
       "segnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
       "[fine]\r\n",
       "c_linea.txt:2:21: error: route length outside 0 to 1000000 m (code 1)\n"
       "lunghezza percorso, 2000000\n"
       "                    ^\n"
       "c_linea.txt:3:31: error: signal repetition start is not a multiple of 50 m (code 3)\n"
       "ripetizione segnali 4 codici, 10, 20\n"
       "                              ^\n"
       "c_linea.txt:6:18: error: speed board on an occupied cell (code 21, at 1850 m)\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\n"
       "                 ^\n"
       "c_linea.txt:5:1: note: the cell is already taken by the record here\n"
       "indicatori_vmax, 1850, 85,90,90,0,,,,0\n"
       "^\n"
       "c_1-.txt:5:21: error: 'x' is not a whole number (code 25)\n"
       "abbattimento, 1000, x\n"
       "                    ^\n"
       "c_1-.txt:6:9: error: 40000 does not fit a 16-bit field (-32768 to 32767) (code 25)\n"
       "sabbia, 40000\n"
       "        ^\n"
       "c_1-.txt:7:11: error: station position is not a multiple of 50 m (code 8, at 5025 m)\n"
       "stazione, 5025, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "          ^\n"
       "c_1-.txt:9:10: error: signal cell occupied (code 16, at 4000 m)\n"
       "segnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "         ^\n"
       "c_1-.txt:8:1: note: the cell is already taken by the record here: cell 81 (4000 m) is its "
       "signal cell, the cell after its position\n"
       "segnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "^\n"},
  };
}

// A line description with every general record (lines 2 to 7, a route of
// 12000 m), then the body records from line 9.
std::string full_line(std::initializer_list<std::string_view> body) {
  std::string text =
      "[generale]\r\n"
      "lunghezza percorso, 12000\r\n"
      "progressiva chilometrica uno, 0, 45000, 0\r\n"
      "sfondo uno, 60000\r\n"
      "sfondo due, 1\r\n"
      "sfondo tre, 2000\r\n"
      "ripetizione segnali 4 codici, 0, 12000\r\n"
      "[curve]\r\n";
  for (std::string_view r : body) text += std::string(r) + "\r\n";
  return text + "[fine]\r\n";
}

// A train description with every record a train needs (lines 2 to 8, the
// station 'A' at 0 m on line 8), then the records from line 9.
std::string full_train(std::initializer_list<std::string_view> records) {
  std::string text =
      "[generale]\r\n"
      "numero vetture, 5\r\n"
      "percentuale massa frenata, 120\r\n"
      "sabbia, 300\r\n"
      "orologio, 5 57 30\r\n"
      "velocita, 0, 90\r\n"
      "aderenza, 0, 100\r\n"
      "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n";
  for (std::string_view r : records) text += std::string(r) + "\r\n";
  return text + "[fine]\r\n";
}

// The mistakes the reading rules used to accept silently or to word
// misleadingly, each told in full: what is lost, where, and what to write.
std::vector<check_case> loud_cases() {
  return {
      {"BeyondTheRoutesEnd", full_line({"pendenza, 12100, 5", "cartello indicatore, 13000, FINE"}),
       full_train({"stazione, 12500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B",
                   "segnale, 15000, 1, 4, 1, 0, 0, 0, 0,0,0, 0",
                   "rallentamento, 14000, 50, 200, 0, 0, 0"}),
       "c_linea.txt:9:11: warning: the gradient record at 12100 m stands past the route's end "
       "(12000 m), in the 7000 m the grid runs on beyond it; the line ends before it "
       "[-Wbeyond-end]\n"
       "pendenza, 12100, 5\n"
       "          ^\n"
       "c_linea.txt:2:1: note: the route length 12000 m is set here\n"
       "lunghezza percorso, 12000\n"
       "^\n"
       "c_linea.txt:10:22: warning: the text-board record at 13000 m stands past the route's end "
       "(12000 m), in the 7000 m the grid runs on beyond it; the line ends before it "
       "[-Wbeyond-end]\n"
       "cartello indicatore, 13000, FINE\n"
       "                     ^\n"
       "c_linea.txt:2:1: note: the route length 12000 m is set here\n"
       "lunghezza percorso, 12000\n"
       "^\n"
       "c_1-.txt:9:11: warning: the station record at 12500 m stands past the route's end (12000 "
       "m), in the 7000 m the grid runs on beyond it; the line ends before it [-Wbeyond-end]\n"
       "stazione, 12500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "          ^\n"
       "c_linea.txt:2:1: note: the route length 12000 m is set here\n"
       "lunghezza percorso, 12000\n"
       "^\n"
       "c_1-.txt:10:10: warning: the signal record at 15000 m stands past the route's end (12000 "
       "m), in the 7000 m the grid runs on beyond it; the line ends before it [-Wbeyond-end]\n"
       "segnale, 15000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "         ^\n"
       "c_linea.txt:2:1: note: the route length 12000 m is set here\n"
       "lunghezza percorso, 12000\n"
       "^\n"
       "c_1-.txt:11:16: warning: the slowdown record at 14000 m stands past the route's end (12000 "
       "m), in the 7000 m the grid runs on beyond it; the line ends before it [-Wbeyond-end]\n"
       "rallentamento, 14000, 50, 200, 0, 0, 0\n"
       "               ^\n"
       "c_linea.txt:2:1: note: the route length 12000 m is set here\n"
       "lunghezza percorso, 12000\n"
       "^\n"},
      {"MissingRecords",
       "[generale]\r\n"
       "lunghezza percorso, 10000\r\n"
       "[curve]\r\n"
       "[fine]\r\n",
       "[generale]\r\n"
       "numero vetture, 4\r\n"
       "[fine]\r\n",
       "c_linea.txt: warning: no kilometric reference (progressiva chilometrica uno, due or tre): "
       "the three references stored are all 0 [-Wmissing-record]\n"
       "c_linea.txt: warning: no background record (sfondo uno): the setting passed to the "
       "simulator is 0 [-Wmissing-record]\n"
       "c_linea.txt: warning: no background record (sfondo due): the setting passed to the "
       "simulator is 0 [-Wmissing-record]\n"
       "c_linea.txt: warning: no background record (sfondo tre): the setting passed to the "
       "simulator is 0 [-Wmissing-record]\n"
       "c_linea.txt: warning: no signal-repetition record (ripetizione segnali 4 codici): the "
       "signals are not repeated (from 0 m to 0 m, no codes) [-Wmissing-record]\n"
       "c_1-.txt: warning: no braked-mass record (percentuale massa frenata): the braked-mass "
       "percentage is 0 [-Wmissing-record]\n"
       "c_1-.txt: warning: no sand record (sabbia): the sand quantity is 0 [-Wmissing-record]\n"
       "c_1-.txt: warning: no clock record (orologio): the clock starts at 0:00:00 "
       "[-Wmissing-record]\n"
       "c_1-.txt: warning: no speed-limit record (velocita): the speed limit is 0 km/h along the "
       "whole line [-Wmissing-record]\n"
       "c_1-.txt: warning: no adhesion record (aderenza): the adhesion is 0 along the whole line "
       "[-Wmissing-record]\n"
       "c_1-.txt: warning: no station record (stazione): the train has no stop "
       "[-Wmissing-record]\n"},
      {"MisspeltKeywordsLoseTheirRecord", full_line({"pndnz, 3000, 5", "pendeza, 4000, 5"}),
       full_train({"stazone, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B",
                   "sgnl, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0"}),
       "c_linea.txt:9:1: warning: 'pndnz' is not a keyword of the line description: this record "
       "and its values are not read; they look like the values of a gradient record, a curve "
       "record or a text-board record at 3000 m [-Wunknown-keyword]\n"
       "pndnz, 3000, 5\n"
       "^\n"
       "c_linea.txt:10:1: warning: 'pendeza' is not a keyword of the line description: this record "
       "and its values are not read; did you mean 'pendenza'? [-Wunknown-keyword]\n"
       "pendeza, 4000, 5\n"
       "^\n"
       "c_1-.txt:9:1: warning: 'stazone' is not a keyword of the train description: this record "
       "and its values are not read; did you mean 'stazione'? [-Wunknown-keyword]\n"
       "stazone, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "^\n"
       "c_1-.txt:10:1: warning: 'sgnl' is not a keyword of the train description: this record and "
       "its values are not read; they look like the values of a signal record at 4000 m "
       "[-Wunknown-keyword]\n"
       "sgnl, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "^\n"},
      {"KeywordFieldThatSwallowedANumber", full_line({"curvad4 1500, 300", "pendenza, 2000, 5"}),
       full_train({"segnale 5500, 2, 4, 1, 1, 0, 0, 0,0,0, 140",
                   "segnale, 6000, 1, 4, 1, 0, 0, 0, 0,0,0, 0"}),
       "c_linea.txt:9:9: warning: the keyword field 'curvad4 1500' ends with the number 1500, "
       "which is not read as a value: write a comma after the keyword [-Wseparator]\n"
       "curvad4 1500, 300\n"
       "        ^\n"
       "c_linea.txt:9:1: error: the record ran short: its line holds 1 value of the 2 a curve "
       "record takes (missing l), so the next was read from line 10, where 'pendenza' is not a "
       "whole number (code 25)\n"
       "curvad4 1500, 300\n"
       "^\n"
       "c_linea.txt:10:1: note: the missing value was taken from here\n"
       "pendenza, 2000, 5\n"
       "^\n"
       "c_1-.txt:9:9: warning: the keyword field 'segnale 5500' ends with the number 5500, which "
       "is not read as a value: write a comma after the keyword [-Wseparator]\n"
       "segnale 5500, 2, 4, 1, 1, 0, 0, 0,0,0, 140\n"
       "        ^\n"
       "c_1-.txt:9:1: error: the record ran short: its line holds 10 values of the 11 a signal "
       "record takes (missing tempo), so the next was read from line 10, where 'segnale' is not a "
       "whole number (code 25)\n"
       "segnale 5500, 2, 4, 1, 1, 0, 0, 0,0,0, 140\n"
       "^\n"
       "c_1-.txt:10:1: note: the missing value was taken from here\n"
       "segnale, 6000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "^\n"},
      {"StationsTooCloseNameTheOneBefore", full_line({}),
       full_train({"stazione, 500, 8, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B"}),
       "c_1-.txt:9:11: error: station area starts less than 350 m after the previous station's "
       "area ends (code 22, at 500 m)\n"
       "stazione, 500, 8, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "          ^\n"
       "c_1-.txt:8:1: note: the station before it, 'A', is here: its area ends at 300 m and this "
       "station's starts at 200 m, 100 m before that; at least 350 m must lie between them\n"
       "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\n"
       "^\n"},
      {"TabAfterANumberIsABlank", full_line({"cartello indicatore,  1300\t,  TEXT"}),
       full_train({"stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0\t, B"}),
       "c_linea.txt:9:31: warning: the text is empty: the comma before 'TEXT' ends it, and what "
       "follows is not read; a number ended by a blank leaves the comma after it to end the next "
       "field, so write the comma right after the number [-Wtext-cut]\n"
       "cartello indicatore,  1300\t,  TEXT\n"
       "                          \t   ^\n"},
  };
}

// What an author writing by hand gets wrong, each named at its line with its
// cause and what the compile made of it; docs/authoring.md's table of common
// mistakes is drawn from these.
std::vector<check_case> named_mistakes() {
  return {
      {"BackwardSlowdown", full_line({}), full_train({"rallentamento, 9000, 50, -400, 0, 1, 0"}),
       "c_1-.txt:9:26: warning: slowdown at 9000 m: its length -400 m is negative, so it runs "
       "backwards: its end mark goes into cell 173 (8600 m), before its start mark in cell 181; "
       "write the length as a positive number [-Wrange]\n"
       "rallentamento, 9000, 50, -400, 0, 1, 0\n"
       "                         ^\n"},
      {"NegativeStation", full_line({"cartello indicatore, 4750, FINE"}),
       full_train({"stazione, 5000, 12, -300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B"}),
       "c_1-.txt:9:21: warning: station 'B' at 5000 m: its length -300 m is negative, so its area "
       "runs backwards, from 5150 m to 4850 m, and its stop mark goes into cell 96; write the "
       "length as a positive number [-Wrange]\n"
       "stazione, 5000, 12, -300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "                    ^\n"
       "c_1-.txt:9:11: warning: station 'B' at 5000 m: its stop mark in cell 96 replaces the text "
       "board 'FINE' there: the board is gone from the grid [-Woverlap]\n"
       "stazione, 5000, 12, -300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "          ^\n"
       "c_linea.txt:9:1: note: the text board erased is here\n"
       "cartello indicatore, 4750, FINE\n"
       "^\n"},
      {"EmptyScenery", full_line({"montagna, 9500, 5000, 11", "montagna, 5100, 5400, 2"}),
       full_train({}),
       "c_linea.txt:9:17: warning: scenery section from 9500 m to 5000 m ends before it starts: it "
       "covers no cell and its type is given to none, but it still counts as the section before "
       "the next one [-Worder]\n"
       "montagna, 9500, 5000, 11\n"
       "                ^\n"
       "c_linea.txt:10:11: warning: scenery section at 5100 m starts 150 m or less after the "
       "previous one ends (5000 m), so its type 2 becomes 3 [-Woverlap]\n"
       "montagna, 5100, 5400, 2\n"
       "          ^\n"},
      {"SecondRouteLength",
       "[generale]\r\n"
       "lunghezza percorso, 12000\r\n"
       "progressiva chilometrica uno, 0, 45000, 0\r\n"
       "sfondo uno, 60000\r\n"
       "sfondo due, 1\r\n"
       "sfondo tre, 2000\r\n"
       "ripetizione segnali 4 codici, 0, 12000\r\n"
       "lunghezza percorso, 9000\r\n"
       "[curve]\r\n"
       "[fine]\r\n"
       "",
       full_train({}),
       "c_linea.txt:8:21: warning: a second route length: 9000 m replaces the 12000 m set before, "
       "and the grid is made anew from it; write one route length [-Woverlap]\n"
       "lunghezza percorso, 9000\n"
       "                    ^\n"
       "c_linea.txt:2:1: note: the route length 12000 m set here no longer stands\n"
       "lunghezza percorso, 12000\n"
       "^\n"},
      {"NoGenerale", full_line({}),
       "numero vetture, 5\r\n"
       "percentuale massa frenata, 120\r\n"
       "sabbia, 300\r\n"
       "orologio, 5 57 30\r\n"
       "velocita, 0, 90\r\n"
       "aderenza, 0, 100\r\n"
       "[fine]\r\n"
       "",
       "c_1-.txt:1:1: warning: the train description has no [generale] header: reading begins "
       "after it, so none of its records is read; write [generale] on a line of its own before the "
       "first record [-Wsection]\n"
       "numero vetture, 5\n"
       "^\n"},
      {"Separators", full_line({}), full_train({"velocita;    1200;    65"}),
       "c_1-.txt:9:9: warning: ';' is not a separator: the keyword field 'velocita;    1200;    "
       "65' runs to the first comma, so the numbers in it are not read as values; separate the "
       "values with commas [-Wseparator]\n"
       "velocita;    1200;    65\n"
       "        ^\n"
       "c_1-.txt:9:1: error: the record ran short: its line holds 0 values of the 2 a speed-limit "
       "record takes (missing position and speed), so the next was read from line 10, where "
       "'[fine]' is not a whole number (code 25)\n"
       "velocita;    1200;    65\n"
       "^\n"
       "c_1-.txt:10:1: note: the missing value was taken from here\n"
       "[fine]\n"
       "^\n"},
      {"Units", full_line({"curvad4, 3000 m, 400 m", "pendenza, 5000, 12 per mille"}),
       full_train({"stazione, 3900 m, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B",
                   "percentuale massa frenata, 120 %", "rallentamento, 13000, 50, 300m, 0, 1, 0"}),
       "c_linea.txt:9:15: error: the unit 'm' after 3000 is read as the next value, which is not a "
       "whole number (code 25)\n"
       "curvad4, 3000 m, 400 m\n"
       "              ^\n"
       "c_linea.txt:9:10: note: the format has no units; write 3000\n"
       "curvad4, 3000 m, 400 m\n"
       "         ^\n"
       "c_linea.txt:10:20: warning: 'per mille' after the last value is not read: the format has "
       "no units; write the number alone [-Wunits]\n"
       "pendenza, 5000, 12 per mille\n"
       "                   ^\n"
       "c_1-.txt:9:16: error: the unit 'm' after 3900 is read as the next value, which is not a "
       "whole number (code 25)\n"
       "stazione, 3900 m, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "               ^\n"
       "c_1-.txt:9:11: note: the format has no units; write 3900\n"
       "stazione, 3900 m, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "          ^\n"
       "c_1-.txt:10:32: warning: '%' after the last value is not read: the format has no units; "
       "write the number alone [-Wunits]\n"
       "percentuale massa frenata, 120 %\n"
       "                               ^\n"
       "c_1-.txt:11:27: error: the unit 'm' after 300 is read as part of the value, which is not a "
       "whole number (code 25)\n"
       "rallentamento, 13000, 50, 300m, 0, 1, 0\n"
       "                          ^\n"
       "c_1-.txt:11:27: note: the format has no units; write 300\n"
       "rallentamento, 13000, 50, 300m, 0, 1, 0\n"
       "                          ^\n"},
      {"SignalOnASlowdownsApproach", full_line({}),
       full_train(
           {"rallentamento, 9000, 50, 200, 0, 1, 0", "segnale, 7700, 1, 4, 1, 0, 0, 0, 0,0,0, 0"}),
       "c_1-.txt:10:10: error: signal cell occupied (code 16, at 7700 m)\n"
       "segnale, 7700, 1, 4, 1, 0, 0, 0, 0,0,0, 0\n"
       "         ^\n"
       "c_1-.txt:9:1: note: the cell is already taken by the record here: its f_ta is not 0, so it "
       "marks cells 153 to 156 (7600 to 7750 m) as its approach, the four cells before its warning "
       "cell, 1250 to 1400 m before its start\n"
       "rallentamento, 9000, 50, 200, 0, 1, 0\n"
       "^\n"},
      {"OversizedStation", full_line({}),
       full_train({"stazione, 5000, 12, 30000, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B"}),
       "c_1-.txt:9:21: error: object would lie outside the route grid (code 25, at 5000 m)\n"
       "stazione, 5000, 12, 30000, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B\n"
       "                    ^\n"},
      {"UnitReadAsText",
       full_line({"cartello indicatore, 4750 m, FINE", "cartello indicatore, 6000 PONTE, VECCHIO"}),
       full_train({"stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0 s, B"}),
       "c_linea.txt:9:27: warning: the unit 'm' after 4750 is read as the text, and 'FINE' after "
       "it is not read: the format has no units; write 4750 [-Wunits]\n"
       "cartello indicatore, 4750 m, FINE\n"
       "                          ^\n"
       "c_linea.txt:10:34: warning: the text is cut at the comma: 'VECCHIO' after it is not part "
       "of it; write the whole text in double quotes to keep the comma [-Wtext-cut]\n"
       "cartello indicatore, 6000 PONTE, VECCHIO\n"
       "                                 ^\n"
       "c_1-.txt:9:57: warning: the unit 's' after 0 is read as the text, and 'B' after it is not "
       "read: the format has no units; write 0 [-Wunits]\n"
       "stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0 s, B\n"
       "                                                        ^\n"},
  };
}

// Checks the case's two descriptions, written into dir as c_linea.txt and
// c_1-.txt.
testing::program_result check_in(const testing::scratch_folder& dir, const check_case& c) {
  write(dir.path() / "c_linea.txt", c.line);
  write(dir.path() / "c_1-.txt", c.train);
  return run("check c_linea.txt c_1-.txt", dir.path());
}

TEST(Check, EveryMistakeWithItsLineColumnSourceAndNotes) {
  for (const check_case& c : check_cases()) {
    SCOPED_TRACE(c.name);
    testing::scratch_folder dir;
    const testing::program_result r = check_in(dir, c);
    EXPECT_EQ(without_missing_records(r.err), c.err);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    // Nothing is written.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  }
}

TEST(Check, SilentMistakesAreToldWithWhatIsLost) {
  for (const check_case& c : loud_cases()) {
    SCOPED_TRACE(c.name);
    testing::scratch_folder dir;
    const testing::program_result r = check_in(dir, c);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, 1);
  }
}

TEST(Check, AuthorsMistakesAreNamedWithTheirCause) {
  for (const check_case& c : named_mistakes()) {
    SCOPED_TRACE(c.name);
    testing::scratch_folder dir;
    const testing::program_result r = check_in(dir, c);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, 1);
    // A compile fails on them with --werror, whether warnings or faults.
    EXPECT_EQ(run("compile c_linea.txt c_1-.txt --werror -o out", dir.path()).status, 1);
  }
}

TEST(Check, ShippedScenarioAndExamplesCheckClean) {
  testing::scratch_folder dir;
  ASSERT_EQ(run("export -o shipped", dir.path()).status, 0);
  const fs::path examples = fs::path(SCENARIO_TESTS_DIR).parent_path() / "docs" / "examples";
  for (const std::string& args :
       {std::string("check shipped/Corvale_Pianasco_linea.txt shipped/Corvale_Pianasco_4816-.txt"),
        "check " + (examples / "Valle_linea.txt").string() + " " +
            (examples / "Valle_12-.txt").string()}) {
    SCOPED_TRACE(args);
    const testing::program_result r = run(args, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
  }
}

// The examples are shipped as the program writes its descriptions: every
// line, the last one too, ends with CR LF.
TEST(Examples, EveryLineEndsWithCrLf) {
  const fs::path examples = fs::path(SCENARIO_TESTS_DIR).parent_path() / "docs" / "examples";
  for (const char* name : {"Valle_linea.txt", "Valle_12-.txt"}) {
    SCOPED_TRACE(name);
    const std::string text = slurp(examples / name);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(text.ends_with("\r\n"));
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (text[at] == '\n') {
        EXPECT_TRUE(at > 0 && text[at - 1] == '\r') << "a bare LF at " << at;
      }
      if (text[at] == '\r') {
        EXPECT_TRUE(at + 1 < text.size() && text[at + 1] == '\n') << "a bare CR at " << at;
      }
    }
  }
}

TEST(Check, JsonIsOneDocumentThatParses) {
  // node parses it: the CI installs it for the editor and browser tests.
  if (std::system("command -v node >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "node not found (Debian: nodejs)";
  testing::scratch_folder dir;
  const check_case c = check_cases().back();
  write(dir.path() / "c_linea.txt", c.line);
  write(dir.path() / "c_1-.txt",
        "[generale]\r\nstazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, "
        "Q\\\x01\xc0\"\r\n[fine]\r\n");
  const testing::program_result r = run("check c_linea.txt c_1-.txt --format json", dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "");
  write(dir.path() / "out.json", r.out);
  // Every entry has its six fields and the notes; the first is code 1 on line 2.
  write(dir.path() / "parse.cjs",
        "const assert = require('assert');\n"
        "const d = JSON.parse(require('fs').readFileSync(process.argv[2], 'utf8')).diagnostics;\n"
        "for (const e of d) assert.deepStrictEqual(Object.keys(e).sort(),\n"
        "  ['code', 'column', 'file', 'line', 'message', 'notes', 'severity']);\n"
        "assert.deepStrictEqual([d[0].line, d[0].column, d[0].code, d[0].severity],\n"
        "  [2, 21, 1, 'error']);\n"
        "assert(d[2].notes[0].line === 5 && d[2].notes[0].notes.length === 0);\n"
        "assert(d.some((e) => e.code === null && e.message.includes('\\u00c0')));\n");
  EXPECT_EQ(std::system(("node " + dir.file("parse.cjs") + " " + dir.file("out.json")).c_str()), 0)
      << r.out;
  // Nothing found: an empty list.
  ASSERT_EQ(run("export -o s", dir.path()).status, 0);
  const testing::program_result clean = run(
      "check s/Corvale_Pianasco_linea.txt s/Corvale_Pianasco_4816-.txt --format json", dir.path());
  EXPECT_EQ(clean.out, "{\"diagnostics\": []}\n");
  EXPECT_EQ(clean.status, 0);
}

TEST(Check, UsageAndUnreadableFilesEndWithStatus2) {
  testing::scratch_folder dir;
  write(dir.path() / "c_linea.txt", testing::line_text(10000));
  write(dir.path() / "c_1-.txt", testing::train_text());
  for (const char* args :
       {"check c_linea.txt", "check c_linea.txt missing_1-.txt",
        "check c_linea.txt c_1-.txt --format xml", "check c_linea.txt c_1-.txt --encoding latin9",
        "check c_linea.txt c_1-.txt -o x"}) {
    SCOPED_TRACE(args);
    const testing::program_result r = run(args, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("scenario_gen: error: "), std::string::npos) << r.err;
  }
}

TEST(Check, Utf8DescriptionsAreConvertedOrRefusedAtTheCharacter) {
  testing::scratch_folder dir;
  write(dir.path() / "u_linea.txt", full_line({"cartello indicatore, 7000, CITT\xc3\x80"}));
  write(dir.path() / "u_1-.txt",
        full_train({"stazione, 5000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, CITT\xc3\x80"}));
  const testing::program_result plain = run("check u_linea.txt u_1-.txt", dir.path());
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.err.find("give --encoding utf-8"), std::string::npos) << plain.err;
  const testing::program_result utf8 =
      run("check u_linea.txt u_1-.txt --encoding utf-8", dir.path());
  EXPECT_EQ(utf8.err, "");
  EXPECT_EQ(utf8.status, 0);
  // compile stores the character as the simulator's one byte.
  ASSERT_EQ(run("compile u_linea.txt u_1-.txt --encoding utf-8 -o out", dir.path()).status, 0);
  EXPECT_NE(slurp(dir.path() / "out" / "u_1.sim").find("CITT\xc0"), std::string::npos);

  write(dir.path() / "u_1-.txt",
        testing::train_text({"stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, "
                             "6,0,0, \xd0\x9bUGA"}));
  const std::string refused =
      "u_1-.txt:2:53: error: U+041B is not a Windows-1252 character, the only ones the simulator "
      "shows; write it another way\n"
      "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, \xd0\x9bUGA\n"
      "                                                    ^\n";
  const testing::program_result check =
      run("check u_linea.txt u_1-.txt --encoding utf-8", dir.path());
  EXPECT_EQ(check.err, refused);
  EXPECT_EQ(check.status, 1);
  const testing::program_result compile =
      run("compile u_linea.txt u_1-.txt --encoding utf-8 -o refused", dir.path());
  EXPECT_EQ(compile.err, refused);
  EXPECT_EQ(compile.status, 2);
  EXPECT_FALSE(fs::exists(dir.path() / "refused" / "u_1.sim"));
}

TEST(Compile, WerrorFailsOnAWarningAndWritesNothing) {
  testing::scratch_folder dir;
  write(dir.path() / "w_linea.txt", full_line({"pendeza, 100, 5"}));
  write(dir.path() / "w_1-.txt", full_train({}));
  fs::create_directory(dir.path() / "out");
  write(dir.path() / "out" / "w_1.dat", "older");
  const testing::program_result r = run("compile w_linea.txt w_1-.txt -o out --werror", dir.path());
  EXPECT_EQ(r.err,
            "w_linea.txt:9:1: error: 'pendeza' is not a keyword of the line description: this "
            "record and its values are not read; did you mean 'pendenza'? "
            "[-Werror=unknown-keyword]\n"
            "pendeza, 100, 5\n"
            "^\n"
            "scenario_gen: error: warnings are errors with --werror; no binary file was written\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(slurp(dir.path() / "out" / "w_1.dat"), "older");
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "w_1.sim"));
  // The last line names the option given.
  const testing::program_result group =
      run("compile w_linea.txt w_1-.txt -o out -Werror=unknown-keyword", dir.path());
  EXPECT_TRUE(
      group.err.ends_with("scenario_gen: error: warnings are errors with "
                          "-Werror=unknown-keyword; no binary file was written\n"))
      << group.err;
  EXPECT_EQ(group.status, 1);
  // Without the warning it compiles.
  write(dir.path() / "w_linea.txt", full_line({"pendenza, 100, 5"}));
  const testing::program_result clean =
      run("compile w_linea.txt w_1-.txt -o out --werror", dir.path());
  EXPECT_EQ(clean.err, "");
  EXPECT_EQ(clean.status, 0);
  EXPECT_TRUE(fs::exists(dir.path() / "out" / "w_1.sim"));
}

TEST(Check, ColourOnlyOnATerminalWithoutNoColor) {
  testing::scratch_folder dir;
  write(dir.path() / "c_linea.txt", testing::line_text(10000, {"pendeza, 100, 5"}));
  write(dir.path() / "c_1-.txt",
        testing::train_text({"velocita, 0, 90", "aderenza, 0, 100",
                             "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A"}));
  // The same terminal, without and with NO_COLOR (set, even empty, it wins).
  const auto on_terminal = [&](const char* environment) {
    return testing::run_program_on_terminal(
               "/usr/bin/env", {environment, SCENARIO_GEN_EXE, "check", "c_linea.txt", "c_1-.txt"},
               dir.path())
        .err;
  };
  const std::string coloured = on_terminal("-uNO_COLOR");
  EXPECT_NE(coloured.find("c_linea.txt:4:1: \x1b[1;35mwarning:\x1b[0m 'pendeza'"),
            std::string::npos)
      << coloured;
  EXPECT_EQ(on_terminal("NO_COLOR=").find('\x1b'), std::string::npos);
  EXPECT_NE(on_terminal("NO_COLOR=").find("c_linea.txt:4:1: warning: 'pendeza'"),
            std::string::npos);
  EXPECT_EQ(run("check c_linea.txt c_1-.txt", dir.path()).err.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace scenario
