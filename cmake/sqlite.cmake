# SQLite for the bill book, as the target verdalon_sqlite.
# - Linux: Debian's libsqlite3-dev.
# - Windows: Debian has no SQLite for MinGW-w64, so the amalgamation in ../shared/sqlite (the
#   same version, made from Debian's source; its README says how) is compiled here, as a C
#   library of its own: it is not written for our strict warnings, so none of the project's
#   warning flags, -Werror included, apply to it.
if(WIN32)
  set(VERDALON_SQLITE_DIR "${CMAKE_SOURCE_DIR}/../shared/sqlite" CACHE PATH
      "Folder of SQLite's amalgamation (sqlite3.c, sqlite3.h) for the Windows build")
  if(NOT EXISTS "${VERDALON_SQLITE_DIR}/sqlite3.c")
    message(FATAL_ERROR "No sqlite3.c in ${VERDALON_SQLITE_DIR} (VERDALON_SQLITE_DIR)")
  endif()
  enable_language(C)
  add_library(verdalon_sqlite STATIC "${VERDALON_SQLITE_DIR}/sqlite3.c")
  set_target_properties(verdalon_sqlite PROPERTIES COMPILE_OPTIONS "" LINKER_LANGUAGE C)
  # Double-quoted strings are identifiers only; no extensions are loaded from files.
  target_compile_definitions(verdalon_sqlite PRIVATE
    SQLITE_DQS=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_THREADSAFE=1)
  target_include_directories(verdalon_sqlite SYSTEM PUBLIC "${VERDALON_SQLITE_DIR}")
else()
  find_package(SQLite3 REQUIRED)
  add_library(verdalon_sqlite INTERFACE)
  target_link_libraries(verdalon_sqlite INTERFACE SQLite::SQLite3)
endif()
