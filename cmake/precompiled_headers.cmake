# Precompiled headers. A good part of each compile (a third of a library
# file's, more of a test's) went to reading the same standard headers (and
# GoogleTest's, in the tests) again in each of some two hundred files: they
# are read once per build instead, into one header precompiled for the
# libraries and programs and one for the tests, which every other target
# reuses. Only standard and GoogleTest headers are listed: they define nothing
# a file of this project could see differently, so the compiled code, and
# every byte the program writes, stays the same.
#
# Off where a compiler cache is the launcher: it cannot cache a compile that
# reads a precompiled header without settings of its own, and a warm cache
# saves more than the headers would.
option(SCENARIO_PRECOMPILED_HEADERS "Precompile the standard (and GoogleTest) headers" ON)

set(scenario_pch_headers
  <algorithm> <array> <bit> <charconv> <cmath> <cstddef> <cstdint> <cstdlib> <cstring>
  <filesystem> <fstream> <functional> <limits> <map> <memory> <optional> <ostream> <set>
  <span> <sstream> <string> <string_view> <utility> <vector>)

function(scenario_precompiled_headers)
  if(NOT SCENARIO_PRECOMPILED_HEADERS)
    return()
  endif()
  # GCC's alone: clang refuses a header precompiled for a target whose
  # definitions differ, as the floors' do.
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
  endif()
  if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    message(STATUS "Precompiled headers: off under ${CMAKE_CXX_COMPILER_LAUNCHER}")
    return()
  endif()
  # GCC 12 loses, for code read from a precompiled header, that it came from
  # a system header: string copies inlined from libstdc++ then draw its known
  # false bounds warnings (as -Wno-restrict in CMakeLists.txt), which a plain
  # compile of the same code, to the same instructions, keeps quiet. Builds
  # without precompiled headers (under ccache) still give these warnings.
  set(quiet -Wno-stringop-overflow -Wno-stringop-overread -Wno-array-bounds)
  # The libraries of the floors, and the programs built from them.
  target_precompile_headers(scenario_common PRIVATE ${scenario_pch_headers})
  target_compile_options(scenario_common PRIVATE ${quiet})
  set(users scenario_gen)
  foreach(entry ${scenario_floors})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 room)
    list(APPEND users scenario_${room})
  endforeach()
  list(REMOVE_ITEM users scenario_common)
  foreach(user ${users} make_editor_files make_cli_files stamp_conflict_run)
    if(TARGET ${user})
      target_precompile_headers(${user} REUSE_FROM scenario_common)
      target_compile_options(${user} PRIVATE ${quiet})
    endif()
  endforeach()
  # The tests: the same headers and GoogleTest's, precompiled once with the
  # first room's tests and reused by the others.
  if(NOT BUILD_TESTING OR NOT room_tests)
    return()
  endif()
  list(POP_FRONT room_tests first)
  target_precompile_headers(${first} PRIVATE ${scenario_pch_headers} <chrono> <thread>
                            <gtest/gtest.h>)
  target_compile_options(${first} PRIVATE ${quiet})
  foreach(tests ${room_tests} scenario_tests)
    target_precompile_headers(${tests} REUSE_FROM ${first})
    target_compile_options(${tests} PRIVATE ${quiet})
  endforeach()
endfunction()
