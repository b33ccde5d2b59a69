# Helpers shared by the CMake files of the tree.

# qv_core_sources(<files...>): adds portable sources to the core library, which
# is built natively and for Windows alike.
function(qv_core_sources)
  foreach(f IN LISTS ARGN)
    target_sources(quarvel_core PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# qv_win_sources(<files...>): adds Win32-layer sources (Windows build only).
function(qv_win_sources)
  if(QV_WINDOWS)
    foreach(f IN LISTS ARGN)
      target_sources(quarvel_win PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    endforeach()
  endif()
endfunction()

# qv_native_tests(<files...>) / qv_win_tests(<files...>): test sources of each side.
function(qv_native_tests)
  if(NOT QV_WINDOWS)
    foreach(f IN LISTS ARGN)
      target_sources(core_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    endforeach()
  endif()
endfunction()

function(qv_win_tests)
  if(QV_WINDOWS)
    foreach(f IN LISTS ARGN)
      target_sources(win_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    endforeach()
  endif()
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
