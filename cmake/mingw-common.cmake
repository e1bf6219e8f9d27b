# Shared part of the mingw-w64 cross toolchains (posix thread model, which
# std::mutex and GoogleTest need). QTRA_MINGW_TRIPLE names the compiler family.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QTRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QTRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QTRA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QTRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine through our launcher, which owns the prefix and the display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
