# Helpers shared by every folder of the build.

function(kavrix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KAVRIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# kavrix_add_test(NAME name SOURCES ... LIBS ... [TIMEOUT seconds])
# One test binary, run as one test; cross builds run it through the emulator (Wine).
function(kavrix_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  kavrix_warnings(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "KAVRIX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
