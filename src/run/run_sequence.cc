#include "run/run_sequence.h"

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda.h"
#include "model/file_names.h"
#include "platform/files.h"
#include "run/memorizza.h"
#include "sources/line_content.h"
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

void form_load(compile_result& out, const std::string& folder, display& ui) {
  const std::string nome_linea = k_shipped_line;
  const std::string numero_treno = k_shipped_train;
  ui.show_progress("Attendere");
  write_shipped_texts(folder, nome_linea, numero_treno);
  scenario_files files;
  files.nome_linea = nome_linea;
  files.numero_treno = numero_treno;
  files.line_name = line_source_name(nome_linea);
  files.train_name = train_source_name(nome_linea, numero_treno);
  files.line_path = join_path(folder, files.line_name);
  files.train_path = join_path(folder, files.train_name);
  files.delete_after_reading = true;
  files.out_folder = folder;
  memorizza_percorso(1, files, ui, out);
}

compile_result form_load(const std::string& folder, display& ui) {
  compile_result out;
  form_load(out, folder, ui);
  return out;
}

}  // namespace scenario
