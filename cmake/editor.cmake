# The language server of scenario_gen lsp (src/editor/) is built where
# nlohmann-json is installed (Debian: nlohmann-json3-dev): its lsp_*.cc files
# speak JSON. Without it, missing_json_library.cc stands in and the command
# says what to install; the rest of src/editor (positions, pairing, layout,
# quick fixes) is built either way.
option(SCENARIO_WITH_LSP "Build the language server when nlohmann-json is installed" ON)
set(scenario_lsp OFF)
if(SCENARIO_WITH_LSP)
  find_package(nlohmann_json 3 QUIET)
  if(NOT nlohmann_json_FOUND AND CMAKE_CROSSCOMPILING)
    # The library is headers only and the same for every target, so the
    # Windows build takes the build machine's. Their folder also holds the
    # machine's own C headers, which must never be on the Windows include
    # path: only nlohmann/ is copied, into a folder of this build.
    find_path(SCENARIO_NLOHMANN_INCLUDE nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH
              DOC "The folder holding nlohmann/json.hpp (Debian: nlohmann-json3-dev)")
    if(EXISTS ${SCENARIO_NLOHMANN_INCLUDE}/nlohmann/json.hpp)
      set(nlohmann_copy ${PROJECT_BINARY_DIR}/nlohmann-include)
      file(REMOVE_RECURSE ${nlohmann_copy})
      file(COPY ${SCENARIO_NLOHMANN_INCLUDE}/nlohmann DESTINATION ${nlohmann_copy})
      add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
      set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                            INTERFACE_INCLUDE_DIRECTORIES ${nlohmann_copy})
      set(nlohmann_json_FOUND ON)
    else()
      message(STATUS "nlohmann/json.hpp not found: scenario_gen lsp will say what to install "
                     "(Debian: nlohmann-json3-dev; or set SCENARIO_NLOHMANN_INCLUDE)")
    endif()
  endif()
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

# The editor files, made from the keyword tables at build time into
# editors/ of the build folder and installed under share/scenario_gen/editors:
# a VS Code extension (manifest, TextMate grammars, language configuration
# and the client in editors/vscode/extension.js), a Notepad++ user-defined
# language and Vim syntax with file-type detection.
add_executable(make_editor_files tools/make_editor_files.cc)
scenario_sees(make_editor_files sources)
target_link_libraries(make_editor_files PRIVATE scenario_sources)
if(WIN32)
  # Run under Wine at build time: every runtime linked in, as the program's.
  target_link_options(make_editor_files PRIVATE -static -static-libgcc -static-libstdc++)
endif()
set(scenario_editor_files ${PROJECT_BINARY_DIR}/editors)
set(editor_stamp ${PROJECT_BINARY_DIR}/generated/editor_files.stamp)
add_custom_command(OUTPUT ${editor_stamp}
  COMMAND make_editor_files ${scenario_editor_files} ${PROJECT_VERSION}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/editors/vscode/extension.js
          ${PROJECT_SOURCE_DIR}/LICENSE ${scenario_editor_files}/vscode/
  COMMAND ${CMAKE_COMMAND} -E touch ${editor_stamp}
  DEPENDS make_editor_files ${PROJECT_SOURCE_DIR}/editors/vscode/extension.js
  COMMENT "Generating the editor files from the keyword tables"
  VERBATIM)
add_custom_target(scenario_editor_files ALL DEPENDS ${editor_stamp})
if(WIN32)
  # The Windows zip holds them beside the program.
  install(DIRECTORY ${scenario_editor_files}/ DESTINATION editors)
else()
  install(DIRECTORY ${scenario_editor_files}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/scenario_gen/editors)
endif()

# The editor tests with real clients (tests/editor/): the protocol client
# library VS Code uses and the TextMate tokeniser (npm ci there), and
# headless Neovim (Debian: neovim). Each skips, saying why, where its tool,
# its node_modules or the language server is missing.
function(scenario_add_editor_tests)
  set(editor_tests ${PROJECT_SOURCE_DIR}/tests/editor)
  set(examples ${PROJECT_SOURCE_DIR}/docs/examples)
  if(WIN32)
    # The node clients run on the build machine and start the Linux program;
    # the Windows program's server is tested by the transcript tests under
    # Wine, and by Neovim below.
    foreach(name LanguageClient TextMateGrammar)
      add_test(NAME editor.${name} COMMAND ${CMAKE_COMMAND} -E echo
               "skipped: the node clients drive the Linux program, not the Windows one")
    endforeach()
    if(SCENARIO_WINE)
      # Neovim on the build machine starts the Windows program through Wine
      # and talks to it on pipes, as an editor on Windows does.
      set(wine_program ${PROJECT_BINARY_DIR}/scenario_gen_under_wine)
      file(GENERATE OUTPUT ${wine_program}
           CONTENT "#!/bin/sh\nexec '${SCENARIO_WINE}' '$<TARGET_FILE:scenario_gen>' \"$@\"\n"
           FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                            WORLD_READ WORLD_EXECUTE)
      add_test(NAME editor.Neovim
               COMMAND bash ${editor_tests}/neovim.test.sh ${wine_program}
                       ${scenario_editor_files} ${examples})
      set_tests_properties(editor.Neovim PROPERTIES ENVIRONMENT
        "WINEDEBUG=-all;WINEPREFIX=${SCENARIO_WINE_PREFIX};WINEDLLOVERRIDES=mscoree,mshtml=")
    else()
      add_test(NAME editor.Neovim COMMAND ${CMAKE_COMMAND} -E echo
               "skipped: Neovim starts the Windows program through Wine, which is not installed")
    endif()
  elseif(NODE_EXECUTABLE)
    add_test(NAME editor.LanguageClient
             COMMAND ${NODE_EXECUTABLE} ${editor_tests}/lsp_client.test.mjs
                     $<TARGET_FILE:scenario_gen> ${examples})
    add_test(NAME editor.TextMateGrammar
             COMMAND ${NODE_EXECUTABLE} ${editor_tests}/grammar.test.mjs
                     $<TARGET_FILE:scenario_gen> ${scenario_editor_files} ${examples})
  else()
    foreach(name LanguageClient TextMateGrammar)
      add_test(NAME editor.${name}
               COMMAND ${CMAKE_COMMAND} -E echo "skipped: node not found (Debian: nodejs npm)")
    endforeach()
  endif()
  if(NOT WIN32)
    add_test(NAME editor.Neovim
             COMMAND bash ${editor_tests}/neovim.test.sh $<TARGET_FILE:scenario_gen>
                     ${scenario_editor_files} ${examples})
  endif()
  set_tests_properties(editor.LanguageClient editor.TextMateGrammar editor.Neovim PROPERTIES
                       TIMEOUT 120 SKIP_REGULAR_EXPRESSION "^skipped: ")
endfunction()

# The VS Code extension as a .vsix (npm and @vscode/vsce from the npm
# registry): cmake --build --preset default --target vscode_vsix.
add_custom_target(vscode_vsix
  COMMAND ${PROJECT_SOURCE_DIR}/editors/package_vsix.sh ${scenario_editor_files}/vscode
          ${PROJECT_BINARY_DIR}/scenario-gen-${PROJECT_VERSION}.vsix
  DEPENDS scenario_editor_files
  COMMENT "Packing the VS Code extension with @vscode/vsce"
  VERBATIM)
