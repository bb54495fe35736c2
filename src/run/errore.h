// errore: the numbered message that ends the run.
#pragma once

#include <string_view>

#include "common/diagnostic.h"
#include "platform/display.h"

namespace scenario {

// The exit status of a run that wrote no binary file.
inline constexpr int k_status_nothing_written = 2;

// Shows " Errore n. " followed by a with an OK button, waits for it, then
// ends the run by throwing a failure with k_status_nothing_written that
// tells why: nothing after the call may run.
[[noreturn]] void errore(display& ui, std::string_view a, diagnostic why);

}  // namespace scenario
