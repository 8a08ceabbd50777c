# GoogleTest built with the project's own compiler from the sources Debian ships, for
# cross builds where no prebuilt library fits (MinGW). Gives the same GTest:: targets as
# find_package(GTest).
set(VERDALON_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${VERDALON_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own CMakeLists names its targets GTest::gtest, GTest::gmock ... already.
