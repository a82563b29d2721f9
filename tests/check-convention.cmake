# cmake -DOBJDUMP=... -DLIBRARY=x.dll [-DCOUNT=n] [-DSTDCALL_FROM=header] [-DOPTIONAL=a,b] -P check-convention.cmake
#
# How a 32-bit DLL's exports return says which calling convention they
# follow. A C function (__cdecl) leaves its arguments to the caller and returns
# with a bare "ret"; a __stdcall function removes them itself with "ret N",
# N being the bytes of its arguments. A caller that assumes the other
# convention finds its stack N bytes off. The 64-bit convention is one and the
# same for every function, so this concerns 32-bit builds only.
#
# Exports are C functions, except those that the header STDCALL_FROM declares
# with TLI_CALL: those are __stdcall, and N follows from their parameters
# (4 bytes each, 8 for a 64-bit integer), which also checks that both sides
# agree on the arguments' sizes. Each must be exported under its plain name,
# but those OPTIONAL names (a producer's optional operations), which are
# checked only when exported; the linker's decorated alias ("name@N") may
# stand beside it.
#
# Each export's code runs from its address in the export table to the next
# symbol of the DLL; every "ret" in that range is checked. To be sure the
# ranges hold the functions, a symbol must start at the export's address and
# the range must hold at least one ret. COUNT, when given, is the number of
# exports expected.

cmake_minimum_required(VERSION 3.21)

function(run)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed: ${command}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run("${OBJDUMP}" -p "${LIBRARY}")
set(headers "${out}")
if(NOT headers MATCHES "\nImageBase[ \t]+([0-9a-fA-F]+)")
  message(FATAL_ERROR "${LIBRARY}: no image base")
endif()
math(EXPR image_base "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT HEXADECIMAL)

# Export Address Table: "[   k] +base[...] RVA Export RVA"; names: "[   k] name".
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] [0-9a-f]+ Export RVA" rvas "${headers}")
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n((\t[^\n]*\n)*)" name_table "${headers}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" names "${CMAKE_MATCH_1}")
foreach(entry IN LISTS rvas)
  string(REGEX MATCH "\\[ *([0-9]+)\\] \\+base\\[ *[0-9]+\\] ([0-9a-f]+)" _ "${entry}")
  set(rva_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()

# The __stdcall functions and the bytes each removes.
set(stdcall "")
if(DEFINED STDCALL_FROM)
  file(READ "${STDCALL_FROM}" header)
  string(REGEX REPLACE "[ \t\n]+" " " header "${header}")
  string(REGEX MATCHALL "TLI_CALL [A-Za-z_0-9]+\\([^)]*\\)" declarations "${header}")
  foreach(declaration IN LISTS declarations)
    string(REGEX MATCH "TLI_CALL ([A-Za-z_0-9]+)\\(([^)]*)\\)" _ "${declaration}")
    set(function "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" parameters)
    set(bytes 0)
    if(NOT parameters STREQUAL "void")
      string(REPLACE "," ";" parameters "${parameters}")
      foreach(parameter IN LISTS parameters)
        if(parameter MATCHES "^ *u?int64_t [A-Za-z_0-9]+ *$")
          math(EXPR bytes "${bytes} + 8")
        else()
          math(EXPR bytes "${bytes} + 4")
        endif()
      endforeach()
    endif()
    list(APPEND stdcall "${function}")
    set(pops_${function} ${bytes})
  endforeach()
  if(NOT stdcall)
    message(FATAL_ERROR "${STDCALL_FROM} declares no TLI_CALL function")
  endif()
endif()

set(faults "")
list(LENGTH rvas address_count)
list(LENGTH names name_count)
if(address_count EQUAL 0 OR NOT address_count EQUAL name_count)
  list(APPEND faults "export table read wrong: ${address_count} addresses, ${name_count} names")
endif()
set(checked "")
foreach(entry IN LISTS names)
  string(REGEX MATCH "\\[ *([0-9]+)\\] ([^\n]+)" _ "${entry}")
  set(name "${CMAKE_MATCH_2}")
  set(rva "${rva_${CMAKE_MATCH_1}}")
  if(name MATCHES "^([A-Za-z_0-9]+)@([0-9]+)$" AND CMAKE_MATCH_1 IN_LIST stdcall)
    # A linker's alias of a __stdcall function: its suffix must be the bytes
    # the plain name's function removes.
    if(NOT CMAKE_MATCH_2 EQUAL "${pops_${CMAKE_MATCH_1}}")
      list(APPEND faults "${name}: the suffix disagrees with the parameters of ${CMAKE_MATCH_1}")
    endif()
    continue()
  endif()
  if(name MATCHES "^_|@")
    list(APPEND faults "${name}: decorated name")
  endif()
  if(rva STREQUAL "")
    list(APPEND faults "${name}: no address in the export table")
    continue()
  endif()
  math(EXPR start "${image_base} + 0x${rva}" OUTPUT_FORMAT HEXADECIMAL)
  # The function ends where objdump shows the next symbol; a window that
  # holds none is doubled.
  set(window 4096)
  set(code "")
  while(code STREQUAL "" AND window LESS 4194304)
    math(EXPR stop "${start} + ${window}" OUTPUT_FORMAT HEXADECIMAL)
    run("${OBJDUMP}" -d --no-show-raw-insn "--start-address=${start}" "--stop-address=${stop}" "${LIBRARY}")
    if(NOT out MATCHES "\n([0-9a-f]+) <[^>\n]+>:\n")
      list(APPEND faults "${name}: no symbol at ${start}; the check needs an unstripped DLL")
      break()
    endif()
    math(EXPR first "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT HEXADECIMAL)
    if(NOT first STREQUAL start)
      list(APPEND faults "${name}: the symbol at its address starts at ${first}")
      break()
    endif()
    string(FIND "${out}" ">:\n" label)
    math(EXPR label "${label} + 3")
    string(SUBSTRING "${out}" ${label} -1 body)
    string(REGEX REPLACE "\n\n[0-9a-f]+ <.*" "" function "${body}")
    if(NOT function STREQUAL body)
      set(code "${function}")
    endif()
    math(EXPR window "${window} * 2")
  endwhile()
  if(code STREQUAL "")
    list(APPEND faults "${name}: no end found after ${start}")
    continue()
  endif()
  string(REGEX MATCHALL "\t(repz |rep |bnd )?retl?[^\n]*" rets "${code}")
  if(NOT rets)
    list(APPEND faults "${name}: no ret in its code at ${start}")
  endif()
  foreach(ret IN LISTS rets)
    set(popped 0)
    if(ret MATCHES "\\$(0x[0-9a-f]+)")
      math(EXPR popped "${CMAKE_MATCH_1}")
    endif()
    string(STRIP "${ret}" ret)
    if(name IN_LIST stdcall)
      if(NOT popped EQUAL "${pops_${name}}")
        list(APPEND faults "${name}: \"${ret}\" removes ${popped} bytes, where a __stdcall function of its parameters removes ${pops_${name}}")
      endif()
    elseif(NOT popped EQUAL 0)
      list(APPEND faults "${name}: \"${ret}\" removes its own arguments (not the C convention)")
    endif()
  endforeach()
  list(APPEND checked "${name}")
endforeach()
set(missing ${stdcall})
string(REPLACE "," ";" optional "${OPTIONAL}")
foreach(name IN LISTS checked optional)
  list(REMOVE_ITEM missing "${name}")
endforeach()
if(missing)
  list(APPEND faults "not exported under the plain name: ${missing}")
endif()

list(LENGTH checked n)
if(DEFINED COUNT AND NOT n EQUAL COUNT)
  list(APPEND faults "${n} exports checked, ${COUNT} expected")
endif()
if(faults)
  list(REMOVE_DUPLICATES faults)
  string(REPLACE ";" "\n  " faults "${faults}")
  message(FATAL_ERROR "${LIBRARY}:\n  ${faults}")
endif()
message(STATUS "${LIBRARY}: ${n} exports return as their calling convention has it")
