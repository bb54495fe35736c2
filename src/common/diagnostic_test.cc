#include "common/diagnostic.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(FormatDiagnostic, GroupsOffsetsAndNotesInTheirPlaces) {
  diagnostic warning = program_diagnostic("'m' is not read", severity::warning);
  warning.file = "a_linea.txt";
  warning.line = 2;
  warning.column = 26;
  warning.source_line = "lunghezza percorso, 12000 m";
  warning.group = warning_group::units;
  diagnostic made_error = warning;
  made_error.level = severity::error;
  made_error.from_warning = true;
  diagnostic ungrouped_made_error = made_error;
  ungrouped_made_error.group = warning_group::none;
  diagnostic at_byte = program_diagnostic("route grid: partial cell 6");
  at_byte.file = "x.dat";
  at_byte.offset = 90;
  diagnostic with_note = program_diagnostic("x.bin: not a scenario file");
  with_note.notes.push_back(at_byte);
  with_note.notes.back().level = severity::note;
  const std::pair<diagnostic, const char*> cases[] = {
      {warning,
       "a_linea.txt:2:26: warning: 'm' is not read [-Wunits]\n"
       "lunghezza percorso, 12000 m\n"
       "                         ^\n"},
      {made_error,
       "a_linea.txt:2:26: error: 'm' is not read [-Werror=units]\n"
       "lunghezza percorso, 12000 m\n"
       "                         ^\n"},
      {ungrouped_made_error,
       "a_linea.txt:2:26: error: 'm' is not read [-Werror]\n"
       "lunghezza percorso, 12000 m\n"
       "                         ^\n"},
      {at_byte, "scenario_gen: error: x.dat: offset 90: route grid: partial cell 6\n"},
      {with_note,
       "scenario_gen: error: x.bin: not a scenario file\n"
       "scenario_gen: note: x.dat: offset 90: route grid: partial cell 6\n"},
  };
  for (const auto& [d, text] : cases) EXPECT_EQ(format_diagnostic(d), text);
}

}  // namespace
}  // namespace scenario
