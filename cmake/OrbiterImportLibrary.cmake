# cmake -DCXX=... -DINPUTS=a|b|... -DDLLTOOL=... -DDEF=... -DLIB=... -P OrbiterImportLibrary.cmake
#
# Makes a stand-in import library for the simulator (MinGW only). A trial link of the module's
# objects with every unresolved symbol reported but tolerated lists what the module needs from
# the simulator: the C++ runtime and Windows resolve the rest. Those symbols become DEF (as
# exports of orbiter.exe) and, through dlltool, LIB.
foreach(var CXX INPUTS DLLTOOL DEF LIB)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "OrbiterImportLibrary.cmake: ${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" inputs "${INPUTS}")
get_filename_component(dir ${DEF} DIRECTORY)
set(trial ${dir}/orbiter-imports-trial.dll)

execute_process(
  COMMAND ${CXX} -shared -o ${trial} ${inputs} -Wl,--warn-unresolved-symbols -Wl,--no-demangle
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE ${trial})

string(REGEX MATCHALL "undefined reference to `[^']+'" references "${output}")
set(symbols)
foreach(reference IN LISTS references)
  string(REGEX REPLACE "^undefined reference to `(__imp_)?([^']+)'$" "\\2" symbol "${reference}")
  list(APPEND symbols ${symbol})
endforeach()
list(REMOVE_DUPLICATES symbols)
list(SORT symbols)
list(LENGTH symbols count)
if(count EQUAL 0)
  message(FATAL_ERROR "The trial link of the module left nothing for the simulator to define "
                      "(exit ${result}):\n${output}")
endif()
# The simulator's interface is C++: a C name here is something the runtime should have had.
foreach(symbol IN LISTS symbols)
  if(NOT symbol MATCHES "^_Z")
    message(FATAL_ERROR "Unresolved symbol that is not the simulator's: ${symbol}\n${output}")
  endif()
endforeach()

list(JOIN symbols "\n    " lines)
file(WRITE ${DEF} "; The simulator's symbols that the module needs (made by the build).\n"
                  "LIBRARY orbiter.exe\nEXPORTS\n    ${lines}\n")
execute_process(COMMAND ${DLLTOOL} --input-def ${DEF} --dllname orbiter.exe --output-lib ${LIB}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} failed on ${DEF}")
endif()
message(STATUS "Stand-in import library: ${count} symbols of orbiter.exe (${DEF})")
