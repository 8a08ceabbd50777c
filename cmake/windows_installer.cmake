# Makes the Windows installer from the cross build (cmake -P):
#   cmake -DBUILD=build/windows -DVERSION=1.01 -DOUTPUT=.../Verdalon-1.01-win64-setup.exe
#         -P cmake/windows_installer.cmake
# The build's `installer` target runs it with the project's version; the packaging test runs
# it once more with a later version, to install an upgrade over the first.
foreach(variable BUILD VERSION OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "windows_installer.cmake needs -D${variable}=...")
  endif()
endforeach()
find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis was not found: scripts/setup installs NSIS")
endif()
get_filename_component(source ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# The installer carries what the zip carries, stripped as cpack strips it.
set(payload ${OUTPUT}.payload)
file(REMOVE_RECURSE ${payload})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${payload} --strip
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

# The uninstaller removes these files, then these folders if they are empty, deepest first:
# what the clerk keeps in the folder (the workbook above all) is not among them.
file(GLOB_RECURSE files RELATIVE ${payload} ${payload}/*)
file(GLOB_RECURSE folders LIST_DIRECTORIES true RELATIVE ${payload} ${payload}/*)
list(REMOVE_ITEM folders ${files})
list(SORT folders)
list(REVERSE folders)
set(listing "")
foreach(file ${files})
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND listing "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
foreach(folder ${folders})
  string(REPLACE "/" "\\" folder "${folder}")
  string(APPEND listing "  RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${payload}.files.nsh "${listing}")

# Windows' version record wants four numbers: 1.01 becomes 1.01.0.0.
set(record_version "${VERSION}")
string(REGEX MATCHALL "[.]" dots "${record_version}")
list(LENGTH dots count)
while(count LESS 3)
  string(APPEND record_version ".0")
  math(EXPR count "${count} + 1")
endwhile()

execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DRECORD_VERSION=${record_version}
          -DPAYLOAD=${payload}
          -DFILES=${payload}.files.nsh -DICON=${source}/src/ui/verdalon.ico -DOUTFILE=${OUTPUT}
          ${source}/packaging/windows/installer.nsi
  COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${payload})
file(REMOVE ${payload}.files.nsh)
message(STATUS "Installer: ${OUTPUT}")
