# Shared part of the MinGW-w64 cross toolchains. The including file sets
# TONVELA_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model, so that std::thread and std::mutex compile if code needs them.
set(CMAKE_C_COMPILER ${TONVELA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TONVELA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TONVELA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TONVELA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A statically linked runtime: every .exe runs on a bare Windows and imports system
# DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs built here run under Wine.
find_program(TONVELA_WINE NAMES wine64 wine)
if(TONVELA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TONVELA_WINE})
endif()
