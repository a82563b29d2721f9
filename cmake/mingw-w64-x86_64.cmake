# Cross build for 64-bit Windows.
set(KAVRIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(KAVRIX_MINGW_PROCESSOR x86_64)
set(KAVRIX_MINGW_DEPS mingw)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
