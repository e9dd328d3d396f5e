# Reads the entry points from the public header and writes the two lists the
# build needs, so that the header is the only place that names them:
#   DEF_FILE      the linker's module definition: each undecorated name bound
#                 to its ordinal and, for 32-bit Windows, to its stdcall
#                 symbol (name@bytes of arguments);
#   EXPORTS_FILE  "ordinal name" lines, ordinal 1 first, for the binary check.
# Each entry point is declared after a comment that opens "Ordinal N.", and
# such a comment holds no semicolon. POINTER_SIZE is 4 or 8: on x64 there is
# one calling convention and the compiler decorates no name.
#
#   cmake -DHEADER=... -DDEF_FILE=... -DEXPORTS_FILE=... -DPOINTER_SIZE=4 -P ExportsFromHeader.cmake

if(NOT POINTER_SIZE MATCHES "^(4|8)$")
  message(FATAL_ERROR "POINTER_SIZE must be 4 or 8, not \"${POINTER_SIZE}\"")
endif()
file(READ "${HEADER}" content)
string(REGEX MATCHALL "Ordinal [0-9]+\\.[^;]*\\)" declarations "${content}")
set(def "; Generated from IWVestra.h: undecorated names and fixed ordinals.\nLIBRARY IWVestra.dll\nEXPORTS\n")
set(list "")
set(count 0)
foreach(declaration IN LISTS declarations)
  string(REGEX MATCH "^Ordinal ([0-9]+)\\." _ "${declaration}")
  set(ordinal ${CMAKE_MATCH_1})
  if(NOT declaration MATCHES "(HSTDLL[A-Za-z]+)\\(([^)]*)\\)$")
    message(FATAL_ERROR "IWVestra.h: no declaration after \"Ordinal ${ordinal}.\"")
  endif()
  set(name ${CMAKE_MATCH_1})
  set(arguments "${CMAKE_MATCH_2}")
  if(arguments MATCHES "^[ \t\r\n]*void[ \t\r\n]*$")
    set(words 0)
  else()
    string(REGEX REPLACE "[^,]" "" commas "${arguments}")
    string(LENGTH "${commas}" words)
    math(EXPR words "${words} + 1")
  endif()
  if(POINTER_SIZE EQUAL 4)
    math(EXPR bytes "${words} * 4")
    string(APPEND def "  ${name} = ${name}@${bytes} @${ordinal}\n")
  else()
    string(APPEND def "  ${name} @${ordinal}\n")
  endif()
  string(APPEND list "${ordinal} ${name}\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "IWVestra.h declares no entry point")
endif()
file(WRITE "${DEF_FILE}" "${def}")
file(WRITE "${EXPORTS_FILE}" "${list}")
