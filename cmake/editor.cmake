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
# A cross-built make_editor_files runs through the build's emulator (Wine in
# the build's own prefix, cmake/wine.cmake); CMake before 3.28 would start it
# bare, and Wine would then make and use ~/.wine.
add_custom_command(OUTPUT ${editor_stamp}
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:make_editor_files>
          ${scenario_editor_files} ${PROJECT_VERSION}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/editors/vscode/extension.js
          ${PROJECT_SOURCE_DIR}/LICENSE ${scenario_editor_files}/vscode/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/editors/neovim
          ${scenario_editor_files}/neovim
  COMMAND ${CMAKE_COMMAND} -E touch ${editor_stamp}
  DEPENDS make_editor_files ${PROJECT_SOURCE_DIR}/editors/vscode/extension.js
          ${PROJECT_SOURCE_DIR}/editors/neovim/lua/scenario_gen.lua
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
  # The packed extension's bundle in node with a stand-in editor; the
  # Windows build packs the same files, tested by the Linux build.
  if(WIN32 OR NOT NODE_EXECUTABLE OR NOT SCENARIO_WITH_VSIX)
    add_test(NAME editor.VSCodeExtension COMMAND ${CMAKE_COMMAND} -E echo
             "skipped: the Linux build with node and SCENARIO_WITH_VSIX tests the extension")
  else()
    add_test(NAME editor.VSCodeExtension
             COMMAND ${NODE_EXECUTABLE} ${editor_tests}/vscode_extension.test.mjs
                     ${scenario_vsix_work}/extension ${scenario_vsix_work}/tools)
  endif()
  if(NOT WIN32)
    add_test(NAME editor.Neovim
             COMMAND bash ${editor_tests}/neovim.test.sh $<TARGET_FILE:scenario_gen>
                     ${scenario_editor_files} ${examples})
    # :ScenarioPicture of editors/neovim.
    add_test(NAME editor.NeovimPicture
             COMMAND bash ${editor_tests}/neovim_picture.test.sh $<TARGET_FILE:scenario_gen>
                     ${scenario_editor_files} ${examples})
    set_tests_properties(editor.NeovimPicture PROPERTIES TIMEOUT 120
                         SKIP_REGULAR_EXPRESSION "^skipped: ")
  endif()
  set_tests_properties(editor.LanguageClient editor.TextMateGrammar editor.Neovim
                       editor.VSCodeExtension PROPERTIES
                       TIMEOUT 120 SKIP_REGULAR_EXPRESSION "^skipped: ")
endfunction()

# The VS Code extension packed as editors/scenario-gen-VERSION.vsix, so that
# the zip and the Debian package ship it beside the other editor files: npm
# ci of the packing tools (editors/vscode/tools, once per lock file), the
# client bundled into one file by esbuild, packed by @vscode/vsce. Where npm
# is missing or cannot fetch, the script says so and the build goes on
# without the .vsix.
option(SCENARIO_WITH_VSIX "Pack the VS Code extension when npm is there" ON)
set(scenario_vsix ${scenario_editor_files}/scenario-gen-${PROJECT_VERSION}.vsix)
set(scenario_vsix_work ${PROJECT_BINARY_DIR}/vscode_extension)
if(SCENARIO_WITH_VSIX)
  set(vsix_stamp ${PROJECT_BINARY_DIR}/generated/vscode_vsix.stamp)
  set(vsix_sources extension.js .vscodeignore tools/package.json tools/package-lock.json
                   tools/bundle.mjs)
  list(TRANSFORM vsix_sources PREPEND ${PROJECT_SOURCE_DIR}/editors/vscode/)
  add_custom_command(OUTPUT ${vsix_stamp}
    COMMAND bash ${PROJECT_SOURCE_DIR}/editors/package_vsix.sh ${scenario_editor_files}/vscode
            ${scenario_vsix_work} ${scenario_vsix}
    COMMAND ${CMAKE_COMMAND} -E touch ${vsix_stamp}
    DEPENDS ${editor_stamp} ${PROJECT_SOURCE_DIR}/editors/package_vsix.sh ${vsix_sources}
    COMMENT "Packing the VS Code extension (npm, esbuild, @vscode/vsce)"
    VERBATIM)
  add_custom_target(vscode_vsix ALL DEPENDS ${vsix_stamp})
  add_dependencies(vscode_vsix scenario_editor_files)
endif()
