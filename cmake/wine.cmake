# The Windows programs run under Wine when the build makes the editor files,
# when it lists the tests and when ctest runs them: quietly, in a Wine prefix
# of this build folder (never the user's ~/.wine), without the .NET and HTML
# engines a fresh prefix would offer to install, and once more where Wine
# failed to start one (cmake/windows/wine_run.sh).
if(CMAKE_CROSSCOMPILING AND SCENARIO_WINE)
  set(SCENARIO_WINE_PREFIX ${PROJECT_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all WINEPREFIX=${SCENARIO_WINE_PREFIX}
      WINEDLLOVERRIDES=mscoree,mshtml= bash ${PROJECT_SOURCE_DIR}/cmake/windows/wine_run.sh
      ${SCENARIO_WINE})
  # A new prefix takes Wine a while to make: made here, once, rather than
  # inside the time the build gives the listing of the tests.
  if(NOT EXISTS ${SCENARIO_WINE_PREFIX}/system.reg)
    get_filename_component(wine_dir ${SCENARIO_WINE} DIRECTORY)
    find_program(SCENARIO_WINEBOOT wineboot HINTS ${wine_dir})
    if(SCENARIO_WINEBOOT)
      message(STATUS "Making the Wine prefix ${SCENARIO_WINE_PREFIX}")
      execute_process(COMMAND env -u DISPLAY WINEDEBUG=-all WINEPREFIX=${SCENARIO_WINE_PREFIX}
                              WINEDLLOVERRIDES=mscoree,mshtml= ${SCENARIO_WINEBOOT} -i
                      OUTPUT_QUIET ERROR_QUIET TIMEOUT 300)
    endif()
  endif()
endif()
