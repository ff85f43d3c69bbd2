# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake --preset windows
# The C and C++ runtimes, libgcc and winpthread are linked in statically, so every .exe runs on a
# plain Windows with no DLL beside it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELBRIN_MINGW_PREFIX x86_64-w64-mingw32)
# The posix flavour: its std::thread and std::mutex are the ones GoogleTest expects.
set(CMAKE_C_COMPILER ${KELBRIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELBRIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELBRIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELBRIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
