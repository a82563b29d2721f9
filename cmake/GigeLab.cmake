# Tests in the GigE Vision lab (tools/gige-lab.sh, tools/gige-lab.md).

set(KAVRIX_GIGE_LAB "${PROJECT_SOURCE_DIR}/tools/gige-lab.sh")

# kavrix_add_lab_test(NAME name COMMAND command... [TIMEOUT seconds])
# Runs the command in the lab's host namespace (kxhost), after the test that
# builds the lab and before the one that takes it down; lab tests never run at
# the same time, since there is one lab per machine. The command's first word
# is not a target: name programs with $<TARGET_FILE:...>, and Windows programs
# with cmake/wine-netns-run.sh in front. Label: lab.
function(kavrix_add_lab_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  get_property(have_fixture GLOBAL PROPERTY kavrix_lab_fixture)
  if(NOT have_fixture)
    set_property(GLOBAL PROPERTY kavrix_lab_fixture ON)
    add_test(NAME lab_up COMMAND ${KAVRIX_GIGE_LAB} up)
    add_test(NAME lab_down COMMAND ${KAVRIX_GIGE_LAB} down)
    set_tests_properties(lab_up PROPERTIES FIXTURES_SETUP kavrix_lab)
    set_tests_properties(lab_down PROPERTIES FIXTURES_CLEANUP kavrix_lab)
    set_tests_properties(lab_up lab_down PROPERTIES RESOURCE_LOCK kavrix_lab LABELS lab TIMEOUT 60)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${KAVRIX_GIGE_LAB} host ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED kavrix_lab RESOURCE_LOCK kavrix_lab
    LABELS lab TIMEOUT ${T_TIMEOUT} ENVIRONMENT "KAVRIX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
