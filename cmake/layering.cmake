cmake_policy(SET CMP0057 NEW)

# Dependencies between the libraries point one way:
#   ui -> workbook -> tally -> base,   workbook -> xls -> base,   ui/workbook -> billbook -> base
# The .xls engine in particular must stay usable on its own: it neither links nor includes
# the tally, the workbook exchange or the window.
#
# Two checks keep the tree so:
# - verdalon_check_link_layering(), called by the top-level CMakeLists.txt, fails the
#   configuration if a library links one it must not (also through another library);
# - run as a script (cmake -DSOURCE_DIR=<repo> -P cmake/layering.cmake, which the test
#   layering.DependenciesPointOneWay does), it fails if a file includes a header of a
#   library its own may not use.

# Inside the engine each folder is a room that may include only the rooms below it ("." is
# the engine's own top: the workbook document and its typed failures):
#   file (save, locks, backups)   cfb   biff  <-  number_format  <-  formula  <-  .  <-  layout
# and the printing library reaches the engine only through the print layout.
set(VERDALON_ROOMS_BELOW_xls/file "")
set(VERDALON_ROOMS_BELOW_xls/cfb "")
set(VERDALON_ROOMS_BELOW_xls/biff "")
set(VERDALON_ROOMS_BELOW_xls/number_format xls/biff)
set(VERDALON_ROOMS_BELOW_xls/formula xls/biff xls/number_format)
set(VERDALON_ROOMS_BELOW_xls xls/file xls/cfb xls/biff xls/number_format xls/formula)
set(VERDALON_ROOMS_BELOW_xls/layout xls xls/biff xls/number_format xls/formula)
set(VERDALON_ENGINE_ROOMS_OF_printing xls/layout)

# Libraries and the libraries and header folders each must never reach.
set(VERDALON_FORBIDDEN_base tally xls workbook ui billbook)
set(VERDALON_FORBIDDEN_tally xls workbook ui billbook)
set(VERDALON_FORBIDDEN_xls tally workbook ui billbook)
set(VERDALON_FORBIDDEN_billbook tally xls workbook ui)
set(VERDALON_FORBIDDEN_workbook ui)

# Every library `target` links, directly or through others (CMake targets only).
function(verdalon_linked_targets target out)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current} OR current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(links ${current} LINK_LIBRARIES)
    if(links)
      list(APPEND pending ${links})
    endif()
  endwhile()
  list(REMOVE_ITEM seen ${target})
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(verdalon_check_link_layering)
  foreach(library base tally xls workbook billbook)
    verdalon_linked_targets(verdalon_${library} linked)
    foreach(forbidden ${VERDALON_FORBIDDEN_${library}})
      if(verdalon_${forbidden} IN_LIST linked)
        message(FATAL_ERROR "verdalon_${library} must not link verdalon_${forbidden}")
      endif()
    endforeach()
    foreach(dependency ${linked})
      if(dependency MATCHES "^Qt")
        message(FATAL_ERROR "verdalon_${library} must not link ${dependency}: only ui uses Qt")
      endif()
    endforeach()
  endforeach()
endfunction()

# Script mode: look at every #include of src/<library>.
if(CMAKE_SCRIPT_MODE_FILE)
  if(NOT SOURCE_DIR)
    message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<repository> -P cmake/layering.cmake")
  endif()
  set(offences "")
  foreach(library base tally xls workbook billbook)
    file(GLOB_RECURSE files "${SOURCE_DIR}/src/${library}/*.h" "${SOURCE_DIR}/src/${library}/*.cpp")
    foreach(file ${files})
      file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
      foreach(line ${includes})
        foreach(forbidden ${VERDALON_FORBIDDEN_${library}})
          if(line MATCHES "[\"<]${forbidden}/")
            list(APPEND offences "${file}: ${line}")
          endif()
        endforeach()
        if(line MATCHES "<Q[A-Za-z]*>")
          list(APPEND offences "${file}: ${line} (only ui uses Qt)")
        endif()
      endforeach()
    endforeach()
  endforeach()
  # The rooms inside the engine, and what of the engine the printing library sees.
  foreach(library xls printing)
    file(GLOB_RECURSE files "${SOURCE_DIR}/src/${library}/*.h" "${SOURCE_DIR}/src/${library}/*.cpp")
    foreach(file ${files})
      file(RELATIVE_PATH relative "${SOURCE_DIR}/src" "${file}")
      get_filename_component(room "${relative}" DIRECTORY)
      if(library STREQUAL "xls")
        set(allowed ${VERDALON_ROOMS_BELOW_${room}})
      else()
        set(allowed ${VERDALON_ENGINE_ROOMS_OF_printing})
      endif()
      file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"xls/")
      foreach(line ${includes})
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
        get_filename_component(target "${header}" DIRECTORY)
        if(NOT target STREQUAL room AND NOT target IN_LIST allowed)
          list(APPEND offences "${file}: ${line} (${room} may not include ${target})")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(offences)
    list(JOIN offences "\n  " listing)
    message(FATAL_ERROR "Includes against the layering:\n  ${listing}")
  endif()
  message(STATUS "layering: every include points the right way")
endif()
