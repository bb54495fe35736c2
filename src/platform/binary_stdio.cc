#include "platform/binary_stdio.h"

namespace scenario {

// POSIX streams carry bytes as they are; the Windows layer sets _O_BINARY.
void use_binary_standard_streams() {}

}  // namespace scenario
