# Cross-builds Brimlow for 64-bit Windows with Debian's mingw-w64 compilers.
# The POSIX thread model is used (std::mutex and std::thread need it with this
# compiler), and every runtime library is linked statically, so the programs
# run under Wine or on Windows without any compiler DLL beside them.  Programs
# built here are run through Wine (tests included) when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRIMLOW_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${BRIMLOW_MINGW_TRIPLE}-gcc-posix ${BRIMLOW_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${BRIMLOW_MINGW_TRIPLE}-g++-posix ${BRIMLOW_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${BRIMLOW_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRIMLOW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(BRIMLOW_WINE NAMES wine wine64)
if(BRIMLOW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BRIMLOW_WINE})
endif()
