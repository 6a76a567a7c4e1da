# cmake -DROOT=<source dir> -P CheckFloors.cmake: fails when an #include climbs a floor.
#
# The plug-in module stacks seven floors, the stand-in host four; each file may include its own
# floor and those below it, never one above:
#   module/contract < module/simulator < module/config < module/sweep < module/vessel
#     < module/output < module/capture
#   host/support < host/world < host/interface < host/process
# The host's interface and process floors see the module's simulator floor (the interface they
# serve) and its contract floor (the texts they watch), and nothing else of the module.
cmake_minimum_required(VERSION 3.25)
set(module_floors module/contract module/simulator module/config module/sweep module/vessel module/output
                  module/capture)
set(host_floors host/support host/world host/interface host/process)

# floor_of(PATH OUT_FLOOR OUT_LIST): the floor a path lies in, and the list it belongs to.
function(floor_of path out_floor out_list)
  set(${out_floor} "" PARENT_SCOPE)
  set(${out_list} "" PARENT_SCOPE)
  foreach(list module_floors host_floors)
    foreach(floor IN LISTS ${list})
      string(FIND "${path}" "${floor}/" at)
      if(at EQUAL 0)
        set(${out_floor} "${floor}" PARENT_SCOPE)
        set(${out_list} "${list}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
endfunction()

file(GLOB_RECURSE files RELATIVE "${ROOT}" "${ROOT}/module/*.h" "${ROOT}/module/*.cpp"
     "${ROOT}/host/*.h" "${ROOT}/host/*.cpp")
set(violations "")
foreach(file IN LISTS files)
  floor_of("${file}" floor list)
  if(NOT floor)
    continue()
  endif()
  list(FIND ${list} "${floor}" level)
  file(STRINGS "${ROOT}/${file}" includes REGEX "^#include \"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    floor_of("${included}" target target_list)
    if(NOT target)
      # Outside both buildings (the standard library's, tests', examples'): not this check's.
      if(included MATCHES "^(module|host)/")
        string(APPEND violations "\n  ${file}: ${included} lies on no floor")
      endif()
      continue()
    endif()
    if(target_list STREQUAL list)
      list(FIND ${list} "${target}" target_level)
      if(target_level GREATER level)
        string(APPEND violations "\n  ${file} (${floor}) includes ${included} (${target}), a floor above")
      endif()
    elseif(NOT (list STREQUAL "host_floors" AND
                (target STREQUAL "module/simulator" OR target STREQUAL "module/contract") AND
                (floor STREQUAL "host/interface" OR floor STREQUAL "host/process")))
      string(APPEND violations "\n  ${file} (${floor}) includes ${included} (${target}), another building")
    endif()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "Includes that climb a floor:${violations}")
endif()
