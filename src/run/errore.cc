#include "run/errore.h"

namespace scenario {

void errore(display& ui, std::string_view a) {
  ui.message_box(" Errore n. " + std::string(a));
  throw process_end(k_status_nothing_written,
                    "message " + std::string(a) +
                        ": a reserved stamp place in station record 85 or grid cell 1 was already "
                        "taken; no binary file was written");
}

}  // namespace scenario
