#include "run/memorizza.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "common/diagnostic.h"
#include "model/file_names.h"
#include "run/errore.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::line_text;
using testing::train_text;

// A display that remembers what it was asked to show.
class recording_display final : public display {
 public:
  void show_progress(std::string_view label) override { shown += std::string(label) + "\n"; }
  void message_box(std::string_view text) override { shown += std::string(text) + "\n"; }
  std::string shown;
};

class Memorizza : public ::testing::Test {
 protected:
  Memorizza() {
    files.nome_linea = "Corvale_Pianasco";
    files.numero_treno = "4816";
    files.line_path = dir.file(line_source_name(files.nome_linea));
    files.train_path = dir.file(train_source_name(files.nome_linea, files.numero_treno));
    files.out_folder = dir.path().string();
  }

  // The finishing step with plan flag j; what it threw, if anything.
  std::optional<failure> run(std::int32_t j = 1) {
    try {
      memorizza_percorso(j, files, ui, result);
      return std::nullopt;
    } catch (const failure& f) {
      return f;
    }
  }

  void write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  void write_sources(const std::string& line, const std::string& train) {
    write(files.line_path, line);
    write(files.train_path, train);
  }
  bool line_left() const { return fs::exists(files.line_path); }
  bool train_left() const { return fs::exists(files.train_path); }
  bool any_binary_file() const {
    for (const auto& e : fs::directory_iterator(dir.path()))
      if (e.path().extension() == ".dat" || e.path().extension() == ".sim") return true;
    return false;
  }

  testing::scratch_folder dir;
  scenario_files files;
  compile_result result;
  const run_state& st = result.st;
  recording_display ui;
};

TEST_F(Memorizza, ShippedSourcesCompileAndAreDeleted) {
  write_sources(testing::shipped_line_text(), testing::shipped_train_text());
  EXPECT_FALSE(run());
  EXPECT_EQ(st.codice_errore, 0);
  EXPECT_EQ(st.stazioni[85].nome, "Corvale_Pianasco");
  EXPECT_EQ(st.stazioni[86].nome, "4816");
  EXPECT_FALSE(line_left());
  EXPECT_FALSE(train_left());
}

TEST_F(Memorizza, MissingLineFileTouchesNothing) {
  write(files.train_path, train_text());
  EXPECT_TRUE(run());
  EXPECT_EQ(st.codice_errore, 101);
  EXPECT_TRUE(train_left());
  EXPECT_TRUE(st.percorso.empty());
}

TEST_F(Memorizza, HardStopOfTheLineLeavesTheTrainFileAndSkipsIt) {
  write_sources(line_text(10000, {"indicatori_vmax, 1850, 85,90,90,0,,,,0",
                                  "indicatori_vmax, 1850, 85,90,90,0,,,,0"}),
                train_text({"numero vetture, 5"}));
  run();
  EXPECT_EQ(st.codice_errore, 21);
  EXPECT_FALSE(line_left());
  EXPECT_TRUE(train_left());
  EXPECT_EQ(st.stazioni[84].posizione, 0);
}

TEST_F(Memorizza, SoftStopOfTheLineStillRunsTheTrain) {
  write_sources(line_text(10000, {"pendenza, 16950, 0"}), train_text({"numero vetture, 5"}));
  run();
  EXPECT_EQ(st.codice_errore, 15);
  EXPECT_EQ(st.stazioni[84].posizione, 5);
  EXPECT_FALSE(line_left());
  EXPECT_FALSE(train_left());
}

TEST_F(Memorizza, RunTimeFailureOfTheLineDeletesBoth) {
  write_sources("[generale]\r\nlunghezza percorso, x\r\n[fine]\r\n", train_text());
  run();
  EXPECT_EQ(st.codice_errore, 25);
  EXPECT_FALSE(line_left());
  EXPECT_FALSE(train_left());
}

TEST_F(Memorizza, MissingTrainFileIsARunTimeFailure) {
  write(files.line_path, line_text(10000));
  run();
  EXPECT_EQ(st.codice_errore, 25);
  EXPECT_FALSE(line_left());
  ASSERT_FALSE(st.faults.empty());
  EXPECT_NE(st.faults.back().detail.find("No such file"), std::string::npos)
      << st.faults.back().detail;
}

TEST_F(Memorizza, HardStopOfTheTrainDeletesItsFile) {
  write_sources(line_text(10000), train_text({"abbattimento, 1000, 0", "abbattimento, 1000, 0"}));
  run();
  EXPECT_EQ(st.codice_errore, 7);
  EXPECT_FALSE(train_left());
}

TEST_F(Memorizza, AuthorsFilesAreKept) {
  files.delete_after_reading = false;
  write_sources(line_text(10000, {"pendenza, 0, x"}), train_text());
  run();
  EXPECT_EQ(st.codice_errore, 25);
  EXPECT_TRUE(line_left());
  EXPECT_TRUE(train_left());
}

TEST_F(Memorizza, FinishingStepWritesTheThreeFiles) {
  write_sources(testing::shipped_line_text(), testing::shipped_train_text());
  EXPECT_FALSE(run());
  EXPECT_EQ(st.codice_errore, 0);
  EXPECT_EQ(fs::file_size(dir.file("Corvale_Pianasco_linea.dat")), 1556964u);
  EXPECT_EQ(fs::file_size(dir.file("Corvale_Pianasco_4816.dat")), 23370u);
  EXPECT_TRUE(fs::exists(dir.file("Corvale_Pianasco_4816.sim")));
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Memorizza, WithoutThePlanFlagNoPlanIsBuiltOrWritten) {
  write_sources(testing::shipped_line_text(), testing::shipped_train_text());
  EXPECT_FALSE(run(0));
  EXPECT_FALSE(st.profilo.exists());
  EXPECT_FALSE(fs::exists(dir.file("Corvale_Pianasco_linea.dat")));
  EXPECT_TRUE(fs::exists(dir.file("Corvale_Pianasco_4816.dat")));
}

TEST_F(Memorizza, CompileFaultsStillWriteTheFiles) {
  write_sources(line_text(10000, {"indicatori_vmax, 1850, 85,90,90,0,,,,0",
                                  "indicatori_vmax, 1850, 85,90,90,0,,,,0"}),
                train_text());
  EXPECT_FALSE(run());
  EXPECT_EQ(st.codice_errore, 21);
  EXPECT_TRUE(fs::exists(dir.file("Corvale_Pianasco_4816.dat")));
  EXPECT_TRUE(train_left());
}

TEST_F(Memorizza, NoGridMeansNoFile) {
  write_sources("[generale]\r\nlunghezza percorso, 2000000\r\n[fine]\r\n", train_text());
  const std::optional<failure> f = run();
  ASSERT_TRUE(f);
  EXPECT_NE(std::string(f->what()).find("code 1"), std::string::npos) << f->what();
  EXPECT_FALSE(any_binary_file());
}

TEST_F(Memorizza, StampConflictsEndTheRunBeforeAnyFile) {
  // A slowdown starting at 0 m puts its speed into cell 1.
  write_sources(line_text(10000), train_text({"rallentamento, 0, 50, 200, 0, 0, 0"}));
  EXPECT_TRUE(run());
  EXPECT_EQ(ui.shown, " Errore n. 1250\n");
  EXPECT_FALSE(any_binary_file());

  // Speed 0 with a second value leaves only valore_b of cell 1 taken.
  write_sources(line_text(10000), train_text({"rallentamento, 0, 0, 200, 0, 0, 5"}));
  ui.shown.clear();
  const std::optional<failure> end = run();
  ASSERT_TRUE(end);
  EXPECT_EQ(end->status(), k_status_nothing_written);
  EXPECT_EQ(ui.shown, " Errore n. 1251\n");
  EXPECT_FALSE(any_binary_file());
}

}  // namespace
}  // namespace scenario
