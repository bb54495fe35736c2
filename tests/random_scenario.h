// A generator of scenarios that compile without a fault, for the tests that
// take a scenario through its binary files and back: every record kind, at
// random positions and values, as an author might write them.
#pragma once

#include <cstdint>
#include <string>

namespace scenario::testing {

struct generated_scenario {
  std::string line;   // the line description
  std::string train;  // the train description
};

// The same seed gives the same scenario on every platform; the line name is
// "Gen" and the train number the seed.
generated_scenario random_scenario(std::uint32_t seed);

}  // namespace scenario::testing
