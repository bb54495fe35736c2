# The Windows package: scenario_gen-VERSION-win64.zip (cpack --preset
# windows), one folder holding scenario_gen.exe, README.md, LICENSE and
# docs/ with authoring.md and the examples, every text file with CR LF line
# ends as Windows editors expect. The descriptions the program reads take
# either line end.
install(TARGETS scenario_gen RUNTIME DESTINATION .)

set(crlf_dir ${PROJECT_BINARY_DIR}/package_text)
# Each text file once with CR LF, made at configure time from the tree.
function(scenario_crlf_copy source destination)
  file(READ ${PROJECT_SOURCE_DIR}/${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${crlf_dir}/${source} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
  install(FILES ${crlf_dir}/${source} DESTINATION ${destination})
endfunction()
scenario_crlf_copy(README.md .)
scenario_crlf_copy(LICENSE .)
scenario_crlf_copy(docs/authoring.md docs)
file(GLOB examples RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/docs/examples/*)
foreach(example ${examples})
  scenario_crlf_copy(${example} docs/examples)
endforeach()

# The editor files are made at build time (cmake/editor.cmake) and installed
# as made: their text is given CR LF where they land, as the rest of the zip's.
# Windows editors read either, but an author who opens one in Notepad sees
# one line without the CR.
install(CODE [[
  file(GLOB_RECURSE editor_texts "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/editors/*")
  list(FILTER editor_texts INCLUDE REGEX "(/LICENSE|[.](js|json|vim|xml))$")
  foreach(text ${editor_texts})
    file(READ ${text} content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${text} "${content}")
  endforeach()
]])

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME scenario_gen)
set(CPACK_PACKAGE_FILE_NAME scenario_gen-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_VENDOR "the scenario_gen authors")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
