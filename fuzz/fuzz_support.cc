#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "model/fault_codes.h"

namespace scenario::fuzz {

run_state fresh_state(std::int32_t scrivi_linea) {
  run_state st;
  st.nome_linea = "Corvale_Pianasco";
  st.numero_treno = "4816";
  st.scrivi_linea = scrivi_linea;
  st.stazioni[k_slot_line].nome = st.nome_linea;
  st.stazioni[k_slot_repetition].nome = st.numero_treno;
  return st;
}

void check_invariants(const run_state& st) {
  auto fail = [](const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  };
  if (st.percorso.size() > 20141) fail("grid larger than the longest route allows");
  if (st.profilo.exists() && st.profilo.metres() > 1007001)
    fail("plan longer than the longest route");
  if (st.indice_cartelli < 1 || st.indice_cartelli > 80) fail("board slot outside 1..80");
  for (const fault& f : st.faults)
    if (find_fault_code(f.code) == nullptr) fail("unknown fault code");
  if (!st.faults.empty() && st.faults.back().code != st.codice_errore)
    fail("pending code is not the last fault");
}

}  // namespace scenario::fuzz
