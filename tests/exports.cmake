# The driver exports exactly the 18 host functions, on both targets.
if(WIN32)
  find_program(KAVRIX_OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)
  set(dump_tool "${KAVRIX_OBJDUMP}")
else()
  find_program(KAVRIX_NM NAMES nm REQUIRED)
  set(dump_tool "${KAVRIX_NM}")
endif()
add_test(NAME driver_exports
  COMMAND ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:kavrix> -DTOOL=${dump_tool} -DWINDOWS=${WIN32}
          -DEXPECTED=${PROJECT_SOURCE_DIR}/src/api/kavrix.def -P ${CMAKE_CURRENT_SOURCE_DIR}/check-exports.cmake)
