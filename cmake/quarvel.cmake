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

# Every test that runs a Windows program takes one of the test run's Wine
# sessions (RESOURCE_GROUPS wine:1): a display, a prefix and a Wine server of
# its own for as long as it runs, so that Windows tests run side by side
# without seeing each other's windows, files or registry. test.sh starts the
# sessions and hands ctest their list (--resource-spec-file); the wrappers
# (cmake/wine-run, tests/e2e/e2e_lib.sh) enter the one CTest gives.

# qv_add_win_suites(TARGET): one test per GoogleTest suite of the Windows test
# program, each a single Wine process that runs the suite's cases one after
# another (fixtures still set up and tear down each case). The suites are read
# from the sources; win.suites checks them against the program's own list, so
# a suite the reading missed fails instead of going unrun.
function(qv_add_win_suites target)
  get_target_property(sources ${target} SOURCES)
  set(suites "")
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "^(TEST|TEST_F)\\([A-Za-z0-9_]+,")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
      list(APPEND suites ${suite})
      if(NOT DEFINED cases_${suite})
        set(cases_${suite} 0)
      endif()
      math(EXPR cases_${suite} "${cases_${suite}} + 1")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(SORT suites)
  foreach(suite IN LISTS suites)
    math(EXPR timeout "60 + 60 * ${cases_${suite}}")
    add_test(NAME win.${suite} COMMAND ${target} --gtest_filter=${suite}.*)
    set_tests_properties(win.${suite} PROPERTIES LABELS windows TIMEOUT ${timeout}
                         RESOURCE_GROUPS wine:1 COST ${cases_${suite}})
  endforeach()
  string(REPLACE ";" "," listed "${suites}")
  add_test(NAME win.suites
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
                   -DSUITES=${listed} -P ${PROJECT_SOURCE_DIR}/cmake/check_suites.cmake)
  set_tests_properties(win.suites PROPERTIES LABELS windows TIMEOUT 60 RESOURCE_GROUPS wine:1)
endfunction()
