# The Windows build (cmake/mingw-w64-x86_64.cmake, the windows presets): one
# self-contained scenario_gen.exe with the native window and the page server
# linked in, the C and C++ runtimes too, so that it needs only the DLLs every
# Windows has.

enable_language(RC)

# The native window and message box, the console, the files.
target_link_libraries(scenario_platform PUBLIC user32 gdi32 kernel32)

# The page server of watch --serve on the same HTTP library as on Linux, built
# from its one header, copied into the build tree (the header's own folder
# holds the host's C headers, which must not be on the Windows include path).
# Debian splits the library into a header of declarations and a shared
# library for Linux; such a header cannot build the Windows program, which
# then says what --serve needs, and plain watch still works.
set(SCENARIO_HTTPLIB_HEADER /usr/include/httplib.h CACHE FILEPATH
    "cpp-httplib's single-file header, with its implementation, for the Windows build")
set(scenario_http OFF)
set(scenario_httplib_whole OFF)
set(scenario_httplib_header ${SCENARIO_HTTPLIB_HEADER})
if(EXISTS ${SCENARIO_HTTPLIB_HEADER})
  file(STRINGS ${SCENARIO_HTTPLIB_HEADER} httplib_definitions REGEX "inline Server::Server\\(\\)")
  if(httplib_definitions)
    set(scenario_httplib_whole ON)
  endif()
endif()
# Where it is not (Debian's split form, or none), the single-file header of
# Debian's source package, at the version and sha256 the script pins, with
# Debian's patches applied: fetched once into the build folder.
option(SCENARIO_FETCH_HTTPLIB
       "Fetch the single-file httplib.h from Debian's source package (tools/fetch_httplib.sh)" ON)
if(SCENARIO_WITH_HTTP AND NOT scenario_httplib_whole AND SCENARIO_FETCH_HTTPLIB)
  message(STATUS "Fetching httplib.h from Debian's source package of cpp-httplib")
  execute_process(COMMAND sh ${PROJECT_SOURCE_DIR}/tools/fetch_httplib.sh
                          ${PROJECT_BINARY_DIR}/httplib-debian
                  RESULT_VARIABLE fetched ERROR_VARIABLE fetch_log OUTPUT_QUIET TIMEOUT 300)
  if(fetched EQUAL 0)
    set(scenario_httplib_header ${PROJECT_BINARY_DIR}/httplib-debian/httplib.h)
    set(scenario_httplib_whole ON)
  else()
    message(STATUS "${fetch_log}")
  endif()
endif()
if(NOT scenario_httplib_whole)
  message(STATUS "No single-file httplib.h (${SCENARIO_HTTPLIB_HEADER} declares the HTTP library "
                 "without its implementation, Debian's split form, and none was fetched): "
                 "watch --serve is left out of the Windows build; set SCENARIO_HTTPLIB_HEADER "
                 "to a single-file httplib.h")
endif()
if(SCENARIO_WITH_HTTP AND scenario_httplib_whole)
  set(scenario_http ON)
  configure_file(${scenario_httplib_header} ${PROJECT_BINARY_DIR}/httplib/httplib.h COPYONLY)
  file(GLOB http_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/http/*.cc)
  list(FILTER http_sources EXCLUDE REGEX "_test\\.cc$")
  target_sources(scenario_platform PRIVATE ${http_sources})
  target_include_directories(scenario_platform SYSTEM PRIVATE ${PROJECT_BINARY_DIR}/httplib)
  target_compile_definitions(scenario_platform PRIVATE SCENARIO_WITH_HTTP)
  target_link_libraries(scenario_platform PUBLIC ws2_32)
endif()
message(STATUS "Windows page server for watch --serve (cpp-httplib): ${scenario_http}")

# A program for Windows: the manifest, and every runtime linked in (libgcc,
# libstdc++, winpthreads); with WIDE, the wide-character entry point wmain.
function(scenario_windows_program target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/windows/scenario_gen.rc)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  if(ARGN STREQUAL "WIDE")
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# GoogleTest built for the target from Debian's sources (Debian: googletest).
set(SCENARIO_GTEST_SOURCE /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built for the Windows tests (Debian: googletest)")
macro(scenario_windows_gtest)
  if(EXISTS ${SCENARIO_GTEST_SOURCE}/CMakeLists.txt AND NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${SCENARIO_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  endif()
  if(TARGET gtest)
    set(GTest_FOUND ON)
  endif()
endmacro()

# The test files left out of the Windows suite, each with the reason; each
# becomes a test that reports itself skipped, saying why.
set(scenario_windows_left_out
  "src/platform/file_set_test.cc|stops a forked writer with a POSIX signal (tests/platform_win32_test.cc tests the sets on Windows)"
  "tests/files_test.cc|fills a tmpfs that only root can mount"
  "tests/watch_test.cc|starts and signals the watch with posix_spawn and kill (tests/platform_win32_test.cc tests the watch on Windows)"
  "tests/window_test.cc|drives the FLTK window under Xvfb with fork and signals (tests/windows/window.sh tests the native window)"
)
set(scenario_windows_left_out_files)
foreach(entry ${scenario_windows_left_out})
  string(REPLACE "|" ";" pair "${entry}")
  list(GET pair 0 file)
  list(APPEND scenario_windows_left_out_files ${PROJECT_SOURCE_DIR}/${file})
endforeach()

# The skipped tests of the Windows suite: whole files left out above, and
# the tests of the files built that cannot run under Wine.
function(scenario_windows_skipped_tests)
  foreach(entry ${scenario_windows_left_out} ${scenario_windows_skipped})
    string(REPLACE "|" ";" pair "${entry}")
    list(GET pair 0 what)
    list(GET pair 1 why)
    string(REGEX REPLACE "[^A-Za-z0-9_.]+" "_" name "windows_skipped.${what}")
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "skipped: ${what}: ${why}")
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "^skipped: ")
  endforeach()
endfunction()

# The tests of the shared suite that cannot run under Wine, each with the
# reason ("Suite.Test|why").
set(scenario_windows_skipped
  "ScenarioNames.FromTheFileNamesUnlessGiven|refuses a name whose suffix differs in case, as Linux does: Windows matches it (tests/platform_win32_test.cc)"
  "FileWatch.CatchesSavesInPlaceAndByRenameOfTheFilesWatchedOnly|saves by std::rename, which on Windows never replaces a file (tests/platform_win32_test.cc saves by MoveFileExW)"
  "Install.*|tests the installed Linux tree, its manual page and bash completion"
  "DumpDraw.DumpReadsTheStandardInputAsAFileWithoutAName|reads /dev/stdin, a Linux path"
  "DumpDraw.DecompileWritesDescriptionsThatCompileBack|expects a slash between folder and name where Windows puts a backslash"
  "Run.BuildsTheShippedScenarioInTheGivenFolder|expects a slash between folder and name where Windows puts a backslash"
  "Export.WritesIntoTheCurrentFolderAndKeepsAnAuthorsEdits|expects a slash between folder and name where Windows puts a backslash"
  "CommandLine.HelpListsEveryCommandAndEachCommandHasItsOwn|expects a slash between folder and name where Windows puts a backslash"
  "Compile.RefusesToWriteOverItsInputs|expects a slash between folder and name and makes symbolic links, which Wine does not"
  "Compile.NamesAreStoredAsTheSimulatorReadsThem|names its files by narrow strings, which the C runtime reads in the ANSI code page (tests/platform_win32_test.cc tests accented names)"
  "CommandLine.UsageErrorsSayWhatAndWhereToLookAndWriteNothing|makes a FIFO"
  "DefaultRun.AttendereAndTheFilesWrittenOnATerminalOnlyAndNotWithQuiet|needs a pseudo terminal"
  "Compile.ATerminalRunEndsWithTheCountAPipeDoesNot|needs a pseudo terminal"
  "Options.EveryOptionOfEachCommandIsInItsHelpUsageAndCompletion|runs the bash completion script, which is not made for Windows"
  "Check.ColourOnlyOnATerminalWithoutNoColor|needs a pseudo terminal"
  "Lsp.TypedAtATerminalItSaysWhatItIs|needs a pseudo terminal"
  "DefaultRun.FolderThatCannotBeWrittenFailsNamingTheFileAndTheWayOut|makes a folder read-only by POSIX permissions"
  "SetKill.AReaderThatMayNotWriteTheFolderSaysHowToFinishTheSet|makes a folder read-only by POSIX permissions and reads it as another user"
)

# The tests on Windows, run through Wine. A file tests/foo_win32.cc stands in
# for tests/foo.cc, and src/platform/foo_win32_test.cc for foo_test.cc. The
# programs' paths are given to the tests as Wine sees them, on drive Z:.
function(scenario_windows_tests sources_var rooms_var)
  set(kept)
  foreach(source ${${sources_var}})
    get_filename_component(stem ${source} NAME_WE)
    get_filename_component(dir ${source} DIRECTORY)
    if(stem MATCHES "_win32$" OR NOT EXISTS ${dir}/${stem}_win32.cc)
      list(APPEND kept ${source})
    endif()
  endforeach()
  list(REMOVE_ITEM kept ${scenario_windows_left_out_files})
  set(${sources_var} ${kept} PARENT_SCOPE)
  foreach(room ${${rooms_var}})
    get_target_property(room_sources ${room} SOURCES)
    list(REMOVE_ITEM room_sources ${scenario_windows_left_out_files})
    set_target_properties(${room} PROPERTIES SOURCES "${room_sources}")
  endforeach()
  set(test_path_prefix "Z:" PARENT_SCOPE)
endfunction()

# The gtest filter that leaves out the tests of scenario_windows_skipped
# ("Suite.Test|why"), as arguments for gtest_discover_tests.
function(scenario_windows_test_filter out)
  set(names)
  foreach(entry ${scenario_windows_skipped})
    string(REPLACE "|" ";" pair "${entry}")
    list(GET pair 0 what)
    list(APPEND names ${what})
  endforeach()
  if(names)
    list(JOIN names ":" joined)
    set(${out} TEST_FILTER "-${joined}" PARENT_SCOPE)
  endif()
endfunction()

# The tests of the .exe as a whole, run by scripts on the build machine: its
# import table, the default run's bytes (in a folder and in a drive's root),
# the same output as the Linux program, the native window under Xvfb, and
# the zip package unpacked and run.
set(SCENARIO_LINUX_PROGRAM ${PROJECT_SOURCE_DIR}/build/scenario_gen CACHE FILEPATH
    "The Linux scenario_gen the Windows program's output is compared with")
function(scenario_windows_program_tests)
  set(scripts ${PROJECT_SOURCE_DIR}/tests/windows)
  set(wine_env WINEDEBUG=-all WINEPREFIX=${SCENARIO_WINE_PREFIX} WINEDLLOVERRIDES=mscoree,mshtml=)
  find_program(SCENARIO_OBJDUMP NAMES ${CMAKE_OBJDUMP} x86_64-w64-mingw32-objdump)
  add_test(NAME windows.ImportTableNamesOnlySystemDlls
           COMMAND sh ${scripts}/imports.sh ${SCENARIO_OBJDUMP} $<TARGET_FILE:scenario_gen>)
  add_test(NAME windows.WineRunRerunsOnlyASilentFailureOnce
           COMMAND sh ${scripts}/wine_run_test.sh ${PROJECT_SOURCE_DIR}/cmake/windows/wine_run.sh)
  if(NOT SCENARIO_WINE)
    return()
  endif()
  add_test(NAME windows.DefaultRunWritesTheLinuxBytesInAFolderAndADriveRoot
           COMMAND sh ${scripts}/default_run.sh ${SCENARIO_WINE} $<TARGET_FILE:scenario_gen>)
  add_test(NAME windows.SameBytesAndStatusesAsLinux
           COMMAND sh ${scripts}/same_as_linux.sh ${SCENARIO_LINUX_PROGRAM} ${SCENARIO_WINE}
                   $<TARGET_FILE:scenario_gen> ${PROJECT_SOURCE_DIR}/docs/examples)
  add_test(NAME windows.NativeWindowAndMessageBoxUnderXvfb
           COMMAND sh ${scripts}/window.sh ${SCENARIO_WINE} $<TARGET_FILE:stamp_conflict_run>
                   $<TARGET_FILE:scenario_gen> ${PROJECT_BINARY_DIR}/screenshots)
  add_test(NAME windows.AFailedDoubleClickRunShowsItsErrorInABox
           COMMAND sh ${scripts}/failure_box.sh ${SCENARIO_WINE} $<TARGET_FILE:scenario_gen>
                   $<TARGET_FILE:read_message_box>)
  set_tests_properties(windows.DefaultRunWritesTheLinuxBytesInAFolderAndADriveRoot
                       windows.SameBytesAndStatusesAsLinux windows.NativeWindowAndMessageBoxUnderXvfb
                       windows.AFailedDoubleClickRunShowsItsErrorInABox
                       PROPERTIES ENVIRONMENT "${wine_env}" SKIP_REGULAR_EXPRESSION "^skipped: ")
  if(scenario_http)
    add_test(NAME windows.PageServerAnswersAndRefusesAForeignHost
             COMMAND bash ${scripts}/page_server.sh ${SCENARIO_WINE} $<TARGET_FILE:scenario_gen>
                     ${PROJECT_SOURCE_DIR}/docs/examples)
    set_tests_properties(windows.PageServerAnswersAndRefusesAForeignHost PROPERTIES
                         ENVIRONMENT "${wine_env}" TIMEOUT 120)
  endif()
  add_test(NAME windows.ZipHoldsTheProgramAndItsTextInCrLfAndRunsUnpacked
           COMMAND sh ${scripts}/package.sh ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR}
                   ${SCENARIO_WINE})
  set_tests_properties(windows.ZipHoldsTheProgramAndItsTextInCrLfAndRunsUnpacked
                       PROPERTIES ENVIRONMENT "${wine_env}")
  # The window test restarts the Wine server with a display of its own.
  set_tests_properties(windows.NativeWindowAndMessageBoxUnderXvfb
                       windows.AFailedDoubleClickRunShowsItsErrorInABox PROPERTIES RUN_SERIAL ON
                       TIMEOUT 180)
endfunction()

# One persistent Wine server for the whole suite (cmake/windows/wineserver.sh):
# the fixture's first test starts it and its last stops it, and every test of
# the Windows suite requires it, so that ctest -R starts and stops it too.
# A test that starts programs through Wine then never meets a server starting
# or shutting down, which now and then failed one with no output at all.
function(scenario_windows_wineserver_fixture)
  if(NOT SCENARIO_WINE)
    return()
  endif()
  get_filename_component(wine_dir ${SCENARIO_WINE} DIRECTORY)
  find_program(SCENARIO_WINESERVER wineserver HINTS ${wine_dir})
  find_program(SCENARIO_WINEBOOT wineboot HINTS ${wine_dir})
  if(NOT SCENARIO_WINESERVER OR NOT SCENARIO_WINEBOOT)
    return()
  endif()
  get_property(suite DIRECTORY PROPERTY TESTS)
  foreach(step start stop)
    add_test(NAME windows.WineServer.${step}
             COMMAND env WINEDEBUG=-all WINEPREFIX=${SCENARIO_WINE_PREFIX}
                     WINEDLLOVERRIDES=mscoree,mshtml= sh
                     ${PROJECT_SOURCE_DIR}/cmake/windows/wineserver.sh ${SCENARIO_WINESERVER}
                     ${SCENARIO_WINEBOOT} ${step})
  endforeach()
  set_tests_properties(windows.WineServer.start PROPERTIES FIXTURES_SETUP wineserver)
  set_tests_properties(windows.WineServer.stop PROPERTIES FIXTURES_CLEANUP wineserver)
  set_tests_properties(${suite} PROPERTIES FIXTURES_REQUIRED wineserver)
endfunction()
