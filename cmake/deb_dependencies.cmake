# Read by cpack (CPACK_PROJECT_CONFIG_FILE) before it makes the Debian
# package: the package Depends on what the program itself links, and only
# Recommends what the modules link (the window toolkit and X11, the HTTP
# library), for the command-line tool runs without them: a run without the
# window module uses the terminal, and watch --serve says what to install.
# SCENARIO_DEB_PROGRAM and SCENARIO_DEB_MODULES name the built files.
cmake_policy(SET CMP0057 NEW)
include(${CMAKE_CURRENT_LIST_DIR}/deb_files.cmake)

# The shlibs:Depends line dpkg-shlibdeps reads off files, or "" when it fails.
function(scenario_shlibs out)
  set(work ${CMAKE_CURRENT_LIST_DIR}/shlibdeps)
  file(MAKE_DIRECTORY ${work}/debian)
  file(WRITE ${work}/debian/control "")
  execute_process(COMMAND dpkg-shlibdeps -O --ignore-missing-info ${ARGN}
                  WORKING_DIRECTORY ${work}
                  OUTPUT_VARIABLE found RESULT_VARIABLE status ERROR_QUIET)
  set(line "")
  if(status EQUAL 0 AND found MATCHES "shlibs:Depends=([^\n]*)")
    set(line ${CMAKE_MATCH_1})
  endif()
  set(${out} "${line}" PARENT_SCOPE)
endfunction()

if(CPACK_GENERATOR STREQUAL "DEB")
  scenario_shlibs(depends ${SCENARIO_DEB_PROGRAM})
  if(depends)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
  endif()
  if(SCENARIO_DEB_MODULES)
    scenario_shlibs(recommends ${SCENARIO_DEB_MODULES})
    # What the program already Depends on is not recommended again.
    set(depended)
    string(REPLACE ", " ";" entries "${depends}")
    foreach(entry ${entries})
      string(REGEX REPLACE " .*" "" package "${entry}")
      list(APPEND depended "${package}")
    endforeach()
    string(REPLACE ", " ";" recommends "${recommends}")
    set(kept)
    foreach(entry ${recommends})
      string(REGEX REPLACE " .*" "" package "${entry}")
      if(NOT package IN_LIST depended)
        list(APPEND kept "${entry}")
      endif()
    endforeach()
    if(kept)
      list(JOIN kept ", " kept)
      set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${kept}")
    endif()
  endif()
endif()
