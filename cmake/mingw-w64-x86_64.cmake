# Cross build for 64-bit Windows with Debian's mingw-w64 and Wine as the
# emulator that runs the cross-built tests and build-time tools.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLOM_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model: the default win32 one has no std::mutex.
set(CMAKE_C_COMPILER ${QUILLOM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLOM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLOM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLOM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything links the C and C++ runtimes statically, so the exe and the DLL
# import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Wine with a prefix of its own under the build tree, quiet and without
# desktop integration. The wrapper starts a persistent wineserver detached from
# stdio the first time (a wine process that inherits a pipe can hang ctest).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
