# Prints a sheet with xlsprint and reads the PDF back with poppler's pdftotext, a reader we
# did not write: the words of the sheet must come out as text, not as boxes or nothing.
#   cmake -DEMULATOR=... -DXLSPRINT=... -DWORKBOOK=... -DSHEET=... -DOUT=... -DWORDS=a;b
#         -P xlsprint_check.cmake
find_program(PDFTOTEXT pdftotext)
if(NOT PDFTOTEXT)
  message("SKIPPED: pdftotext (poppler-utils) is missing")
  return()
endif()
file(REMOVE "${OUT}")
execute_process(COMMAND ${EMULATOR} "${XLSPRINT}" "${WORKBOOK}" "${SHEET}" "${OUT}"
                RESULT_VARIABLE printed ERROR_VARIABLE complaint)
if(NOT printed EQUAL 0 OR NOT EXISTS "${OUT}")
  message(FATAL_ERROR "xlsprint failed (${printed}): ${complaint}")
endif()
execute_process(COMMAND "${PDFTOTEXT}" -enc UTF-8 "${OUT}" - OUTPUT_VARIABLE text
                RESULT_VARIABLE read)
if(NOT read EQUAL 0)
  message(FATAL_ERROR "pdftotext could not read ${OUT}")
endif()
foreach(word IN LISTS WORDS)
  string(FIND "${text}" "${word}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "\"${word}\" is not text in ${OUT}; pdftotext read:\n${text}")
  endif()
endforeach()
