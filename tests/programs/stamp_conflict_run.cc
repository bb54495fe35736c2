// Test-only program: a run whose stamps conflict, on the display an
// interactive run gets. It shows the progress window, compiles a train
// description whose slowdown at 0 m takes cell 1's first stamp place, and so
// ends through errore with message 1250. Exit status as the command line's:
// 2 after the message, 1 for any other failure.
//
// Usage: stamp_conflict_run FOLDER  (the descriptions and outputs go there)
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "common/diagnostic.h"
#include "model/file_names.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/memorizza.h"

namespace {

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace scenario;
  if (argc != 2) {
    std::cerr << "usage: stamp_conflict_run FOLDER\n";
    return 1;
  }
  const std::string folder = argv[1];
  try {
    const auto ui = make_display(std::cerr);
    scenario_files files;
    files.nome_linea = "Corvale_Pianasco";
    files.numero_treno = "4816";
    files.line_path = join_path(folder, line_source_name(files.nome_linea));
    files.train_path = join_path(folder, train_source_name(files.nome_linea, files.numero_treno));
    files.out_folder = folder;
    ui->show_progress("Attendere");
    write_file(files.line_path,
               "[generale]\r\nlunghezza percorso,    10000\r\n[curve]\r\n[fine]\r\n");
    write_file(files.train_path, "[generale]\r\nrallentamento, 0, 50, 200, 0, 0, 0\r\n[fine]\r\n");
    compile_result result;
    memorizza_percorso(1, files, *ui, result);
    std::cerr << "stamp_conflict_run: the run ended without a stamp conflict\n";
    return 1;
  } catch (const failure& e) {
    std::cerr << "stamp_conflict_run: " << e.what() << '\n';
    return e.status();
  } catch (const std::exception& e) {
    std::cerr << "stamp_conflict_run: " << e.what() << '\n';
    return 1;
  }
}
