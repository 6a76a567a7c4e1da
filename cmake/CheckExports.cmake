# cmake -DOBJDUMP=... -DDLL=... -DEXPECTED=a|b|... -P CheckExports.cmake
#
# Fails unless the export table of DLL names exactly EXPECTED (in any order), and reports how
# many symbols the DLL imports from orbiter.exe.
foreach(var OBJDUMP DLL EXPECTED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckExports.cmake: ${var} is not set")
  endif()
endforeach()
execute_process(COMMAND ${OBJDUMP} -p ${DLL} RESULT_VARIABLE result OUTPUT_VARIABLE dump)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

# The name table: "[Ordinal/Name Pointer] Table" then lines "\t[   0] +base[   1] 0000 Name".
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
set(exports)
if(NOT at EQUAL -1)
  string(SUBSTRING "${dump}" ${at} -1 table)
  string(REGEX MATCH "Table[^\n]*\n(([ \t]+\\[[^\n]*\n)*)" table "${table}")
  string(REGEX MATCHALL "\\[[ 0-9]+\\][^\n]*" rows "${CMAKE_MATCH_1}")
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "^.* ([^ ]+)$" "\\1" name "${row}")
    list(APPEND exports ${name})
  endforeach()
endif()
list(SORT exports)
string(REPLACE "|" ";" expected "${EXPECTED}")
list(SORT expected)
if(NOT exports STREQUAL expected)
  message(FATAL_ERROR "${DLL} exports [${exports}], not exactly [${expected}]")
endif()

# Imports: the "DLL Name: orbiter.exe" block lists one symbol a line until a blank line.
string(REGEX MATCH "DLL Name: orbiter\\.exe\n[^\n]*\n(([^\n]+\n)*)" block "${dump}")
string(REGEX MATCHALL "\n" lines "${CMAKE_MATCH_1}")
list(LENGTH lines imported)
message(STATUS "${DLL}: exports ${exports}; imports ${imported} symbols from orbiter.exe")
