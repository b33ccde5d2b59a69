# Helpers shared by the CMake files of the tree.

# Each folder lists its own files, relative to itself, for one of the targets:
#   qv_core_sources(...)  portable core, built natively and for Windows alike
#   qv_win_sources(...)   Win32 layer (Windows build only)
#   qv_native_tests(...)  tests of the portable core (native build only)
#   qv_win_tests(...)     Windows tests (Windows build only)
function(_qv_add_to target wanted)
  if(wanted)
    list(TRANSFORM ARGN PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    target_sources(${target} PRIVATE ${ARGN})
  endif()
endfunction()

function(qv_core_sources)
  _qv_add_to(quarvel_core TRUE ${ARGN})
endfunction()
function(qv_win_sources)
  _qv_add_to(quarvel_win "${QV_WINDOWS}" ${ARGN})
endfunction()
function(qv_native_tests)
  if(NOT QV_WINDOWS)
    _qv_add_to(core_tests TRUE ${ARGN})
  endif()
endfunction()
function(qv_win_tests)
  _qv_add_to(win_tests "${QV_WINDOWS}" ${ARGN})
endfunction()

# qv_add_subsystems(): adds every sub-folder that has a CMakeLists.txt, so each
# subsystem keeps its own list of files.
macro(qv_add_subsystems)
  file(GLOB _qv_children LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _qv_children)
  foreach(_qv_child IN LISTS _qv_children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_qv_child}/CMakeLists.txt)
      add_subdirectory(${_qv_child})
    endif()
  endforeach()
endmacro()
