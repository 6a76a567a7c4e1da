# aeroquin_shim_orbiter_sdk(SOURCE DESTINATION): copies the simulator's SDK headers from SOURCE
# to DESTINATION (in the build tree) and works around the constructs that only MSVC accepts, so
# that GCC can compile the module against them. The headers themselves are never changed.
function(aeroquin_shim_orbiter_sdk source destination)
  if(NOT EXISTS ${source}/OrbiterAPI.h)
    message(FATAL_ERROR "No simulator SDK headers in ${source} (OrbiterAPI.h is missing)")
  endif()
  file(REMOVE_RECURSE ${destination})
  file(COPY ${source}/ DESTINATION ${destination} NO_SOURCE_PERMISSIONS)

  # OrbiterAPI.h includes <lua/lua.h>; the folder is Lua/.
  if(EXISTS ${destination}/Lua AND NOT EXISTS ${destination}/lua)
    file(CREATE_LINK Lua ${destination}/lua SYMBOLIC)
  endif()

  # Class names first declared in friend declarations: GCC wants them declared before.
  aeroquin_shim_prepend(${destination}/CelBodyAPI.h "class ATMOSPHERE;\n")
  aeroquin_shim_prepend(${destination}/MFDAPI.h "class Instrument_User;\n")

  # FMATRIX4's anonymous struct of FVECTOR4 (which have constructors): GCC rejects it. Nothing
  # in the SDK uses its members, and the union keeps its size through the other members.
  aeroquin_shim_replace(${destination}/DrawAPI.h "struct { FVECTOR4 _x, _y, _z, _p; };" "")

  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${source}/CelBodyAPI.h ${source}/MFDAPI.h ${source}/DrawAPI.h)
endfunction()

function(aeroquin_shim_prepend file text)
  file(READ ${file} content)
  file(WRITE ${file} "${text}${content}")
endfunction()

# Fails when the text is gone, so that a changed SDK header gets a fresh look.
function(aeroquin_shim_replace file text replacement)
  file(READ ${file} content)
  string(FIND "${content}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${file} no longer contains '${text}': review the SDK shims")
  endif()
  string(REPLACE "${text}" "${replacement}" content "${content}")
  file(WRITE ${file} "${content}")
endfunction()
