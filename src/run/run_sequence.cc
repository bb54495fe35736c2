#include "run/run_sequence.h"

#include "common/file_names.h"
#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda.h"
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

void form_load(run_state& st, const std::string& folder, display& ui) {
  st.nome_linea = k_shipped_line;
  st.numero_treno = k_shipped_train;
  ui.show_progress("Attendere");
  write_shipped_texts(folder, st.nome_linea, st.numero_treno);
  const scenario_sources sources{
      join_path(folder, line_source_name(st.nome_linea)),
      join_path(folder, train_source_name(st.nome_linea, st.numero_treno)),
      /*delete_after_reading=*/true};
  memorizza_percorso(st, 1, sources, folder, ui);
}

run_state form_load(const std::string& folder, display& ui) {
  run_state st;
  form_load(st, folder, ui);
  return st;
}

}  // namespace scenario
