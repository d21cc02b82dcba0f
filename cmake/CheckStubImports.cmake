# Fails the build when the stub imports a function that StubImports.txt does
# not allow: each group there says the Windows it needs, and a new import
# from a newer Windows would stop the release stub from starting on the
# oldest Windows it promises, with no message but the loader's.
#   cmake -DOBJDUMP=tool -DSTUB=file -DALLOWED=list -P CheckStubImports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${STUB} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the imports of ${STUB}")
endif()
file(STRINGS ${ALLOWED} allowed REGEX "^[^#]")
string(TOLOWER "${allowed}" allowed)
# Brackets would hold a list's separators together.
string(REGEX REPLACE "[][;]" "" headers "${headers}")
string(REPLACE "\n" ";" lines "${headers}")
set(dll "")
set(refused "")
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
  elseif(line MATCHES "^[ \t]+[0-9a-fA-F]+[ \t]+[0-9]+[ \t]+([A-Za-z_][A-Za-z0-9_@]*)$" AND dll)
    string(TOLOWER "${dll} ${CMAKE_MATCH_1}" import)
    if(NOT import IN_LIST allowed)
      list(APPEND refused "${dll} ${CMAKE_MATCH_1}")
    endif()
  elseif(line MATCHES "^[ \t]+[0-9a-fA-F]+[ \t]+([0-9]+)$" AND dll)
    list(APPEND refused "${dll} by ordinal ${CMAKE_MATCH_1}")
  elseif(NOT line MATCHES "^[ \t]")
    # The import tables end at the next heading.
    set(dll "")
  endif()
endforeach()
if(refused)
  list(JOIN refused "\n  " refused)
  message(FATAL_ERROR "${STUB} imports what ${ALLOWED} does not allow (say there which Windows it needs):\n  ${refused}")
endif()
