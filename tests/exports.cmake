# What a host and a Windows machine see of the built files, read from the
# files themselves without running them (label "static", so they also run for
# a build whose programs cannot run here):
# - the driver exports exactly the 18 host functions, on every target;
# - on Windows, every program and DLL imports system DLLs only;
# - in a 32-bit Windows build, the driver's exports follow the C calling
#   convention, and the producer's operations that of GenTL producers.
if(WIN32)
  set(dump_tool "${CMAKE_OBJDUMP}")
else()
  find_program(KAVRIX_NM NAMES nm REQUIRED)
  set(dump_tool "${KAVRIX_NM}")
endif()
add_test(NAME driver_exports
  COMMAND ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:kavrix> -DTOOL=${dump_tool} -DWINDOWS=${WIN32}
          -DEXPECTED=${PROJECT_SOURCE_DIR}/src/api/kavrix.def -P ${CMAKE_CURRENT_SOURCE_DIR}/check-exports.cmake)
set_tests_properties(driver_exports PROPERTIES LABELS static)

if(WIN32)
  add_test(NAME windows_imports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DFOLDER=$<TARGET_FILE_DIR:kavrix>
            -DSHIPPED=$<TARGET_FILE_NAME:kavrix>,$<TARGET_FILE_NAME:tli>,$<TARGET_FILE_NAME:kavrix-host>,$<TARGET_FILE_NAME:kavrix-describe>
            -P ${CMAKE_CURRENT_SOURCE_DIR}/check-imports.cmake)
  # The GigE Vision producer ships in a folder of its own.
  add_test(NAME windows_imports_gige
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DFOLDER=$<TARGET_FILE_DIR:gige_tli>
            -DSHIPPED=$<TARGET_FILE_NAME:gige_tli> -P ${CMAKE_CURRENT_SOURCE_DIR}/check-imports.cmake)
  set_tests_properties(windows_imports windows_imports_gige PROPERTIES LABELS static)
endif()

if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME driver_calling_convention
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DLIBRARY=$<TARGET_FILE:kavrix> -DCOUNT=18
            -P ${CMAKE_CURRENT_SOURCE_DIR}/check-convention.cmake)
  # The simulator offers none of the optional operations (TLI.h); the GigE
  # Vision producer offers them all.
  add_test(NAME producer_calling_convention
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DLIBRARY=$<TARGET_FILE:tli>
            -DSTDCALL_FROM=${PROJECT_SOURCE_DIR}/tl/include/TLI.h -DOPTIONAL=GCGetLastError,DSGetInfo,DSGetBufferInfo
            -P ${CMAKE_CURRENT_SOURCE_DIR}/check-convention.cmake)
  add_test(NAME gige_producer_calling_convention
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DLIBRARY=$<TARGET_FILE:gige_tli>
            -DSTDCALL_FROM=${PROJECT_SOURCE_DIR}/tl/include/TLI.h
            -P ${CMAKE_CURRENT_SOURCE_DIR}/check-convention.cmake)
  set_tests_properties(driver_calling_convention producer_calling_convention gige_producer_calling_convention
    PROPERTIES LABELS static)
endif()
