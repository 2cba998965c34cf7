# Cross toolchain for 32-bit Windows: mingw-w64 with POSIX threads, so std::thread and friends are there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the test programs through Wine, headless; where 32-bit Wine cannot run, the helper reports a skip.
get_filename_component(_vcl_wine ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_vcl_wine} --headless)
