// The words of the folder lock, the same on every system.
#include "platform/folder_lock.h"

namespace scenario {

diagnostic waiting_note(const std::string& folder) {
  return program_diagnostic("waiting for another scenario_gen writing into '" + folder + "'",
                            severity::note);
}

}  // namespace scenario
