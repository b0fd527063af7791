# Fails when the shared library LIB leaves a name undefined that neither a
# library it names (versioned references: the C and C++ run-times) nor the
# sanitizer run-time of the program that loads it will define.
execute_process(COMMAND ${NM} -D --undefined-only ${LIB} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} -D --undefined-only ${LIB} failed (${rc})")
endif()
string(REPLACE "\n" ";" lines "${out}")
set(bad "")
foreach(line IN LISTS lines)
  # Only strong references: weak ones may stay undefined.
  if(NOT line MATCHES "^ *U ([^ ]+)$")
    continue()
  endif()
  set(sym ${CMAKE_MATCH_1})
  if(sym MATCHES "@" OR sym MATCHES "^__(asan|ubsan|sanitizer|sancov|lsan)_")
    continue()
  endif()
  list(APPEND bad ${sym})
endforeach()
if(bad)
  message(FATAL_ERROR "${LIB} leaves undefined: ${bad}")
endif()
