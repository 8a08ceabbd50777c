# Cross-builds Verdalon for 64-bit Windows with Debian's MinGW-w64 (posix threads, which
# std::thread and the Qt build in ../shared/qt6-mingw both use).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VERDALON_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VERDALON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VERDALON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VERDALON_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW sysroot and whatever prefix the preset adds
# (Qt); programs (moc, rcc, uic, the shell) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VERDALON_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and test discovery run the .exe files under wine, with a prefix inside the build
# folder (see scripts/wine-run).
get_filename_component(_verdalon_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_verdalon_source_dir}/scripts/wine-run)
