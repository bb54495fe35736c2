# Cross-building scenario_gen.exe for 64-bit Windows on Debian with mingw-w64
# (Debian: g++-mingw-w64-x86-64-posix). The posix flavour of the compiler
# gives std::thread; its runtime is linked into the program (CMakeLists.txt),
# so the .exe needs no DLL of the compiler's. Programs built here run under
# Wine (Debian: wine) when tests run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(scenario_mingw_prefix x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${scenario_mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${scenario_mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${scenario_mingw_prefix}-windres)
set(CMAKE_OBJDUMP ${scenario_mingw_prefix}-objdump)
set(CMAKE_STRIP ${scenario_mingw_prefix}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${scenario_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The tests run the programs through Wine.
find_program(SCENARIO_WINE NAMES wine64 wine)
if(SCENARIO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SCENARIO_WINE})
endif()
