# The language server of scenario_gen lsp (src/editor/) is built where
# nlohmann-json is installed (Debian: nlohmann-json3-dev): its lsp_*.cc files
# speak JSON. Without it, missing_json_library.cc stands in and the command
# says what to install; the rest of src/editor (positions, pairing, layout,
# quick fixes) is built either way.
option(SCENARIO_WITH_LSP "Build the language server when nlohmann-json is installed" ON)
set(scenario_lsp OFF)
if(SCENARIO_WITH_LSP AND NOT SCENARIO_FUZZ)
  find_package(nlohmann_json 3 QUIET)
  if(nlohmann_json_FOUND)
    set(scenario_lsp ON)
  endif()
endif()
get_target_property(editor_sources scenario_editor SOURCES)
if(scenario_lsp)
  list(FILTER editor_sources EXCLUDE REGEX "/missing_json_library\\.cc$")
  find_package(Threads REQUIRED)
  target_link_libraries(scenario_editor PRIVATE nlohmann_json::nlohmann_json Threads::Threads)
else()
  list(FILTER editor_sources EXCLUDE REGEX "/lsp_[^/]*\\.cc$")
endif()
set_target_properties(scenario_editor PROPERTIES SOURCES "${editor_sources}")
message(STATUS "Language server for scenario_gen lsp (nlohmann-json): ${scenario_lsp}")
