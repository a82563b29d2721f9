# Cross build for Windows with MinGW-w64 (posix threads), shared by both
# bitnesses: the file that includes this one sets KAVRIX_MINGW_TRIPLE,
# KAVRIX_MINGW_PROCESSOR and KAVRIX_MINGW_DEPS (the prefix under .deps that
# holds the dependencies built for that triple by cmake/setup.sh).
# The C++ runtime and zlib are linked statically, so the DLLs and programs
# import system DLLs only (tests/check-imports.cmake holds them to that).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KAVRIX_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${KAVRIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVRIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAVRIX_MINGW_TRIPLE}-windres)

get_filename_component(_kavrix_top "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${KAVRIX_MINGW_TRIPLE} "${_kavrix_top}/.deps/${KAVRIX_MINGW_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static alone does not do it for zlib: FindZLIB would hand the linker the
# import library libz.dll.a by its full path.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR "${_kavrix_top}/cmake/wine-run.sh")
