# cmake -DOBJDUMP=<objdump> -DDLLS=<dll;...> -P check_dlls.cmake
# Fails unless every DLL exports exactly CompareVersion, CopyFileDateTime and RegistDll, with
# undecorated names, and imports nothing but Windows system DLLs: KERNEL32 and the C runtime.
# Anything else (libgcc_s, libstdc++, libwinpthread, or version.dll, which must be loaded from
# the system directory at run time) could be planted beside the installer.
set(expected_exports CompareVersion CopyFileDateTime RegistDll)
set(failures "")
foreach(dll IN LISTS DLLS)
  if(NOT EXISTS ${dll})
    string(APPEND failures "${dll}: missing (build it first)\n")
    continue()
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${dll} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(APPEND failures "${dll}: ${OBJDUMP} failed\n")
    continue()
  endif()

  # The name table of the export directory: lines such as "\t[   0] CompareVersion".
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(.*)" exports_part "${dump}")
  string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" export_lines "${CMAKE_MATCH_1}")
  set(exports "")
  foreach(line IN LISTS export_lines)
    string(REGEX REPLACE "^\t\\[ *[0-9]+\\] " "" name "${line}")
    list(APPEND exports "${name}")
  endforeach()
  list(SORT exports)
  if(NOT exports STREQUAL expected_exports)
    string(APPEND failures "${dll}: exports '${exports}', expected '${expected_exports}'\n")
  endif()

  string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
  if(NOT import_lines)
    string(APPEND failures "${dll}: no imports found, so the dump was not understood\n")
  endif()
  foreach(line IN LISTS import_lines)
    string(REGEX REPLACE "^DLL Name: " "" import "${line}")
    string(TOLOWER "${import}" import_lower)
    if(NOT import_lower MATCHES "^(kernel32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\\.dll$")
      string(APPEND failures "${dll}: imports ${import}\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
list(LENGTH DLLS count)
message(STATUS "${count} DLL(s): exports and imports as expected")
