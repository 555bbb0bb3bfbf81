# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DEDT_BUILD_BENCH=OFF -DEDT_BUILD_TESTS=OFF
# scripts/build-windows.sh does exactly that.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EDT_MINGW_PREFIX x86_64-w64-mingw32)
# The "-posix" flavour has std::thread and std::mutex, which the "-win32" one (Debian's
# default alternative) lacks in GCC 12; ask for it by name.
find_program(CMAKE_CXX_COMPILER NAMES ${EDT_MINGW_PREFIX}-g++-posix ${EDT_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${EDT_MINGW_PREFIX}-gcc-posix ${EDT_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${EDT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EDT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the C and C++ run-times and winpthread in, so that the .exe runs on its own
# without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
