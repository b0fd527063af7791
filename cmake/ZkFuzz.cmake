# Stand-in for the fuzz-target function until the shared one lands: builds
# only the libFuzzer program of each target (clang, -DZK_FUZZ=ON); the
# normal build ignores the targets.
function(zk_fuzz_target name)
  cmake_parse_arguments(F "" "ENTRY;CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT ZK_FUZZ)
    return()
  endif()
  add_executable(fuzz_${name} ${F_ENTRY} ${F_SOURCES})
  target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined,float-cast-overflow
                         -fno-sanitize-recover=all)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined,float-cast-overflow)
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
endfunction()
