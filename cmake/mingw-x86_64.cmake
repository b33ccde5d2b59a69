# The same program built for 64-bit Windows: what the tests run under Wine on
# machines whose kernel cannot run 32-bit Linux programs (and so no 32-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QV_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
