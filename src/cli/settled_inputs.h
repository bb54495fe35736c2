// The folders a reading command takes its files from, settled first: a
// replacement of a scenario's files that a killed writer left half done is
// finished before anything is read, so that no mixed set is ever read.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace scenario {

// Finishes the interrupted replacement in the folder of each input (the
// input itself when it is a folder). Throws failure, saying how to finish
// it, when a folder still holds one because this user may not write it.
void settle_input_folders(const std::vector<std::string>& inputs, std::ostream& notices);

}  // namespace scenario
