#include "run/errore.h"

#include <string>

namespace scenario {

void errore(display& ui, std::string_view a, diagnostic why) {
  ui.message_box(" Errore n. " + std::string(a));
  throw failure(std::move(why), k_status_nothing_written);
}

}  // namespace scenario
