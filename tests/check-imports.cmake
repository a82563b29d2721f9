# cmake -DOBJDUMP=... -DFOLDER=bin -DSHIPPED=Kavrix.dll,tli.dll,... -P check-imports.cmake
#
# Every Windows program and DLL of the build imports only DLLs that every
# Windows installation has in its system folder. The driver runs on
# inspection PCs where nothing else is installed: a DLL missing there (zlib1.dll,
# libstdc++-6.dll, libwinpthread-1.dll, ...) makes the host's LoadLibrary fail,
# while Wine, which brings some of them built in, hides the fault here.
#
# The allowed list is kept to what the project uses or is about to use:
#   KERNEL32, msvcrt   what every MinGW-w64 program imports (msvcrt is the C
#                      runtime MinGW-w64 links against; it ships with Windows)
#   USER32, GDI32, COMCTL32, COMDLG32, SHELL32, OLE32
#                      the configuration dialog's windows, property sheet,
#                      common dialogs and shell folders
#   WS2_32, IPHLPAPI   sockets and the adapter list (os/, for the GigE Vision
#                      producer, gige/tli.dll in its own folder)
# A DLL of the project itself (tli.dll) may be imported by the test programs
# that drive the simulated producer's control API, never by what we ship.
cmake_minimum_required(VERSION 3.21)

set(system_dlls KERNEL32.dll msvcrt.dll USER32.dll GDI32.dll COMCTL32.dll COMDLG32.dll SHELL32.dll OLE32.dll
    WS2_32.dll IPHLPAPI.DLL)
string(TOLOWER "${system_dlls}" system_dlls)

file(GLOB artifacts "${FOLDER}/*.dll" "${FOLDER}/*.exe")
set(project_dlls "")
foreach(artifact IN LISTS artifacts)
  get_filename_component(name "${artifact}" NAME)
  string(TOLOWER "${name}" name)
  if(name MATCHES "\\.dll$")
    list(APPEND project_dlls "${name}")
  endif()
endforeach()

string(REPLACE "," ";" SHIPPED "${SHIPPED}")
foreach(shipped IN LISTS SHIPPED)
  if(NOT EXISTS "${FOLDER}/${shipped}")
    message(FATAL_ERROR "${shipped} is missing from ${FOLDER}")
  endif()
endforeach()
string(TOLOWER "${SHIPPED}" shipped_lower)

set(faults "")
foreach(artifact IN LISTS artifacts)
  get_filename_component(name "${artifact}" NAME)
  string(TOLOWER "${name}" name_lower)
  execute_process(COMMAND "${OBJDUMP}" -p "${artifact}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot read the imports of ${artifact}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" entries "${dump}")
  if(NOT entries)
    list(APPEND faults "${name}: no import table found")
  endif()
  set(allowed ${system_dlls})
  if(NOT name_lower IN_LIST shipped_lower)
    list(APPEND allowed ${project_dlls})
  endif()
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "DLL Name: ([^\n]+)" "\\1" dll "${entry}")
    string(TOLOWER "${dll}" dll_lower)
    if(NOT dll_lower IN_LIST allowed)
      list(APPEND faults "${name} imports ${dll}")
    endif()
  endforeach()
endforeach()

list(LENGTH artifacts count)
if(faults)
  string(REPLACE ";" "\n  " faults "${faults}")
  message(FATAL_ERROR "DLLs that Windows does not have:\n  ${faults}")
endif()
message(STATUS "${count} programs and DLLs import system DLLs only")
