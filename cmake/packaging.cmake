# The folder a user unpacks and runs: the program, what the platform needs, the template of
# the bill book's export, and the sample workbook in a folder of its own (样板). The
# workbook the program uses lies beside it and is the clerk's data: a package that carried
# one there would replace it when a newer one is unpacked over the old folder. The first time, the clerk copies the sample beside the
# program (使用说明.txt; the message of a missing workbook says where it is). `cpack` makes
# the archive from an installed build; scripts/package makes every package.
install(TARGETS verdalon RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/templates/锯材账单.xls DESTINATION 样板)
# The bill book's export fills this template. It is the program's, not the clerk's: beside
# the program, replaced with it on every upgrade.
install(FILES ${CMAKE_SOURCE_DIR}/templates/账本导出样板.xls DESTINATION .)

if(WIN32)
  # The MinGW runtime and the Qt DLLs and plugins are installed where they are copied
  # beside the programs (cmake/windows_runtime.cmake, src/ui).
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/使用说明.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Verdalon-${PROJECT_VERSION}-win64)
  set(package_archive ${CPACK_PACKAGE_FILE_NAME}.zip)
  # The installer (安装版) carries the same files and puts the sample in place where there is
  # no workbook yet (packaging/windows/installer.nsi).
  set(installer ${CMAKE_SOURCE_DIR}/build/packages/${CPACK_PACKAGE_FILE_NAME}-setup.exe)
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION}
            -DOUTPUT=${installer} -P ${CMAKE_SOURCE_DIR}/cmake/windows_installer.cmake
    DEPENDS verdalon VERBATIM)
else()
  # The program relies on the system's Qt 6 (README); the desktop entry and its icon let
  # the desktop start it from the unpacked folder.
  set(icon ${CMAKE_BINARY_DIR}/verdalon.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:window_icon_png> ${icon} 48
    DEPENDS window_icon_png COMMENT "Drawing the icon of the desktop entry" VERBATIM)
  add_custom_target(desktop_icon ALL DEPENDS ${icon})
  install(FILES ${icon} ${CMAKE_SOURCE_DIR}/packaging/linux/verdalon.desktop
                ${CMAKE_SOURCE_DIR}/packaging/linux/README.txt DESTINATION .)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/linux/install-desktop-entry.sh DESTINATION .)
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_FILE_NAME Verdalon-${PROJECT_VERSION}-linux-x86_64)
  set(package_archive ${CPACK_PACKAGE_FILE_NAME}.tar.gz)
endif()

set(CPACK_PACKAGE_NAME Verdalon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Verdalon)
# One folder inside the archive, named like the archive, so unpacking makes no mess.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/build/packages)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(VERDALON_BUILD_TESTS)
  # (CPack's module leaves its own file names behind: the archive's name is taken before.)
  add_test(NAME package.UnpacksInAFreshFolderAndStarts
           COMMAND ${CMAKE_SOURCE_DIR}/tests/packaging/check_package.sh
                   ${CPACK_PACKAGE_DIRECTORY}/${package_archive} ${PROJECT_VERSION})
  set_tests_properties(package.UnpacksInAFreshFolderAndStarts PROPERTIES
                       SKIP_RETURN_CODE 77 RUN_SERIAL ON TIMEOUT 300)
  if(WIN32)
    add_test(NAME package.InstallsUpgradesAndUninstallsKeepingTheWorkbook
             COMMAND ${CMAKE_SOURCE_DIR}/tests/packaging/check_installer.sh
                     ${installer} ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
    set_tests_properties(package.InstallsUpgradesAndUninstallsKeepingTheWorkbook PROPERTIES
                         SKIP_RETURN_CODE 77 RUN_SERIAL ON TIMEOUT 1500)
  endif()
endif()
