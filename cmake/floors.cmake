# The house's floors. Each folder of src/ is one static library that sees
# only its own headers and those of the floors below it: its include path is
# a folder of links made here, one link per folder it may use, so an include
# of a peer's or a higher floor's header fails to compile. Libraries link
# only downward.

# Every folder with its floor, from the ground up. Folders on one floor are
# peers and do not include each other.
set(scenario_floors
  common:0
  model:1
  platform:2
  sources:3
  route:4 service:4 output:4 documents:4
  run:5
  inspect:6
  draw:7 editor:7
  cli:8)

set(scenario_floor_links ${PROJECT_BINARY_DIR}/floors)

# The folders below `floor`, lowest first.
function(scenario_rooms_below floor out)
  set(rooms)
  foreach(entry ${scenario_floors})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 room)
    list(GET pair 1 level)
    if(level LESS floor)
      list(APPEND rooms ${room})
    endif()
  endforeach()
  set(${out} ${rooms} PARENT_SCOPE)
endfunction()

function(scenario_floor_of room out)
  foreach(entry ${scenario_floors})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 name)
    if(name STREQUAL room)
      list(GET pair 1 level)
      set(${out} ${level} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "src/${room} has no floor in cmake/floors.cmake")
endfunction()

# The include folder of a target that may use `room` and everything below it.
function(scenario_include_folder room out)
  scenario_floor_of(${room} floor)
  scenario_rooms_below(${floor} below)
  set(dir ${scenario_floor_links}/${room})
  foreach(allowed ${below} ${room})
    if(NOT EXISTS ${dir}/${allowed})
      file(MAKE_DIRECTORY ${dir})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${allowed} ${dir}/${allowed} SYMBOLIC)
    endif()
  endforeach()
  set(${out} ${dir} PARENT_SCOPE)
endfunction()

# Gives `target` the include path of `room`'s floor.
function(scenario_sees target room)
  scenario_include_folder(${room} dir)
  target_include_directories(${target} PRIVATE ${dir})
endfunction()

# Adds the library scenario_<room> from src/<room>/*.cc (tests and main.cc
# left out), linked to the libraries of the floors below.
function(scenario_room room)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${room}/*.cc)
  list(FILTER sources EXCLUDE REGEX "_test\\.cc$")
  list(FILTER sources EXCLUDE REGEX "/main\\.cc$")
  add_library(scenario_${room} STATIC ${sources})
  scenario_sees(scenario_${room} ${room})
  scenario_floor_of(${room} floor)
  scenario_rooms_below(${floor} below)
  foreach(lower ${below})
    target_link_libraries(scenario_${room} PUBLIC scenario_${lower})
  endforeach()
endfunction()

# The tests of src/<room>/*_test.cc as an object library with the room's
# include path (and the shared test helpers of tests/); appended to `list`.
function(scenario_room_tests room list)
  file(GLOB tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${room}/*_test.cc)
  if(NOT tests)
    return()
  endif()
  add_library(scenario_${room}_tests OBJECT ${tests})
  scenario_sees(scenario_${room}_tests ${room})
  target_include_directories(scenario_${room}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(scenario_${room}_tests PRIVATE scenario_${room} GTest::gtest)
  # The source tree, for the tests that read its shipped files (docs/): not
  # __FILE__, which a compiler cache or a relative build may make relative.
  target_compile_definitions(scenario_${room}_tests PRIVATE
                             SCENARIO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(${list} ${${list}} scenario_${room}_tests PARENT_SCOPE)
endfunction()
