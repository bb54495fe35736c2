#include "platform/modules.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/module_entries.h"
#include "platform/module_places.h"
#include "platform/window_layout.h"

namespace scenario {
namespace {

// The entry point of a module, from the first place that has the module:
// installed, at the place the install rules give it relative to the
// program, then where the build made it (for a program run from its build,
// or from a copy of it). Nothing when neither loads.
void* module_entry(const char* file, const char* entry) {
  std::string installed;
  try {
    installed = join_path(join_path(executable_folder(), modules_from_program_folder()), file);
  } catch (const io_error&) {
    // No folder for the program: only the built module is looked for.
  }
  for (const std::string& path : {installed, join_path(modules_built_folder(), file)}) {
    if (path.empty()) continue;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) continue;
    if (void* found = ::dlsym(module, entry)) return found;
    ::dlclose(module);
  }
  return nullptr;
}

template <typename Fn>
Fn* entry_of(const char* file, const char* entry) {
  return reinterpret_cast<Fn*>(module_entry(file, entry));
}

}  // namespace

std::unique_ptr<display> load_window_display() {
  // Without a display nothing is loaded.
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return nullptr;
  auto* open = entry_of<decltype(scenario_open_window_display)>(k_window_module, k_window_entry);
  if (open == nullptr) return nullptr;
  const progress_layout layout = progress_window_layout();
  return std::unique_ptr<display>(open(&layout));
}

std::unique_ptr<page_server> load_page_server(int port) {
  auto* start = entry_of<decltype(scenario_start_page_server)>(k_http_module, k_http_entry);
  if (start == nullptr) return nullptr;
  std::unique_ptr<page_server> server(start(port));
  if (!server)
    throw io_error("127.0.0.1:" + std::to_string(port), "listen on",
                   "the port is taken or not allowed");
  return server;
}

}  // namespace scenario
