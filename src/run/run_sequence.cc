#include "run/run_sequence.h"

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda.h"
#include "model/file_names.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "run/memorizza.h"
#include "sources/line_content.h"
#include "sources/text_writer.h"
#include "sources/train_content.h"

namespace scenario {

void write_shipped_texts(const std::string& folder, const std::string& nome_linea,
                         const std::string& numero_treno) {
  dati_linea(folder, nome_linea);
  dati_treno(folder, nome_linea, numero_treno);
  dati_note(folder, nome_linea, numero_treno);
  dati_rallentamenti(folder, nome_linea, numero_treno);
  dati_scheda(folder, nome_linea, numero_treno);
}

std::vector<run_description> run_descriptions(const std::string& folder) {
  return {
      {join_path(folder, line_source_name(k_shipped_line)), render_lines(line_content())},
      {join_path(folder, train_source_name(k_shipped_line, k_shipped_train)),
       render_lines(train_content())},
  };
}

std::vector<moved_file> set_aside_descriptions(const std::string& folder) {
  std::vector<moved_file> moved;
  for (const run_description& d : run_descriptions(folder)) {
    if (!something_at(d.path) || is_folder(d.path) || holds_exactly(d.path, d.bytes)) continue;
    moved.push_back({d.path, move_aside(d.path)});
  }
  return moved;
}

void form_load(compile_result& out, const std::string& folder, display& ui,
               const run_options& options) {
  const std::string nome_linea = k_shipped_line;
  const std::string numero_treno = k_shipped_train;
  scenario_files files;
  files.nome_linea = nome_linea;
  files.numero_treno = numero_treno;
  files.line_name = line_source_name(nome_linea);
  files.train_name = train_source_name(nome_linea, numero_treno);
  files.line_path = join_path(folder, files.line_name);
  files.train_path = join_path(folder, files.train_name);
  files.delete_after_reading = true;
  files.out_folder = folder;

  ui.show_progress("Attendere");
  std::vector<std::string> written;
  try {
    const std::string line_text = dati_linea(folder, nome_linea);
    written.push_back(files.line_path);
    const std::string train_text = dati_treno(folder, nome_linea, numero_treno);
    written.push_back(files.train_path);
    dati_note(folder, nome_linea, numero_treno);
    dati_rallentamenti(folder, nome_linea, numero_treno);
    dati_scheda(folder, nome_linea, numero_treno);
    out = compile({nome_linea,
                   numero_treno,
                   true,
                   {files.line_name, line_text},
                   {files.train_name, train_text}});
    apply_compile(out, files, ui);
  } catch (...) {
    if (options.remove_descriptions_on_failure)
      for (const std::string& path : written) try {
          remove_file(path);
        } catch (const io_error&) {
          // The failure that ended the run is the one to report.
        }
    throw;
  }
}

compile_result form_load(const std::string& folder, display& ui) {
  compile_result out;
  form_load(out, folder, ui);
  return out;
}

}  // namespace scenario
