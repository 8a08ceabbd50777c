# A Windows program finds its DLLs in its own folder. The cross build copies the MinGW
# runtime (and, for the window, Qt's DLLs and plugins) beside the programs in bin/, so the
# folder runs as it stands, under wine or on Windows, and installs them with the program.

# The DLLs of the compiler's runtime that our programs and the Qt DLLs link against.
function(verdalon_mingw_runtime_dlls out)
  set(dlls)
  foreach(name libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
      message(FATAL_ERROR "The MinGW runtime ${name} was not found (the compiler says '${found}')")
    endif()
    list(APPEND dlls ${found})
  endforeach()
  set(${out} ${dlls} PARENT_SCOPE)
endfunction()

# Copies FILES into bin/SUBFOLDER before TARGETs are built, and installs them the same way
# when INSTALL is given.
function(verdalon_copy_beside_programs name)
  cmake_parse_arguments(ARG "INSTALL" "SUBFOLDER" "FILES" ${ARGN})
  set(folder ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  if(ARG_SUBFOLDER)
    set(folder ${folder}/${ARG_SUBFOLDER})
  endif()
  add_custom_target(${name} ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ARG_FILES} ${folder}
    COMMENT "Copying ${name} beside the programs" VERBATIM)
  if(NOT ARG_INSTALL)
    return()
  endif()
  set(destination .)
  if(ARG_SUBFOLDER)
    set(destination ${ARG_SUBFOLDER})
  endif()
  install(FILES ${ARG_FILES} DESTINATION ${destination})
  if(CMAKE_STRIP)
    # Debian's MinGW runtime keeps its symbols (libstdc++ alone is 24 MB with them); the
    # package carries what the program needs to run.
    foreach(file ${ARG_FILES})
      install(CODE "
        get_filename_component(name \"${file}\" NAME)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/\${name}\")")
    endforeach()
  endif()
endfunction()
