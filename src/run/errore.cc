#include "run/errore.h"

#include <string>

#include "common/diagnostic.h"

namespace scenario {

void errore(display& ui, std::string_view a) {
  ui.message_box(" Errore n. " + std::string(a));
  throw failure(program_diagnostic("message " + std::string(a) +
                                   ": a reserved stamp place in station record 85 or grid cell 1 "
                                   "was already taken; no binary file was written"),
                k_status_nothing_written);
}

}  // namespace scenario
