// Standard input and output carrying bytes, not text: a protocol that counts
// bytes (the language server's) must not see its line ends translated.
#pragma once

namespace scenario {

// Puts the standard input and output in binary mode where the system
// translates line ends on them; elsewhere it does nothing.
void use_binary_standard_streams();

}  // namespace scenario
