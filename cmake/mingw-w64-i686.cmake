# Cross build for 32-bit Windows (the hosts that run as 32-bit processes).
set(KAVRIX_MINGW_TRIPLE i686-w64-mingw32)
set(KAVRIX_MINGW_PROCESSOR i686)
set(KAVRIX_MINGW_DEPS mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
