#include "platform/file_faults.h"

namespace scenario {
namespace {

const file_faults* g_faults = nullptr;

}  // namespace

void set_file_faults(const file_faults* faults) {
  g_faults = faults;
}

const file_faults* active_file_faults() {
  return g_faults;
}

}  // namespace scenario
