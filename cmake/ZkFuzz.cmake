# Fuzz targets: every reader of outside bytes has one, declared next to the
# reader with
#
#   zk_fuzz_target(<name>
#     ENTRY   fuzz/fuzz_<name>.cpp      # defines LLVMFuzzerTestOneInput
#     [SOURCES <extra .cpp>...]        # compiled only into the libFuzzer program
#     LIBS    <libraries>               # e.g. zkapp zelkor32_static
#     CORPUS  fuzz/corpus/<name>)       # seed files and inputs that once found faults
#
# A fuzzing build (clang, -DZK_FUZZ=ON) makes the libFuzzer program
# fuzz_<name>. A build with the tests (any compiler) compiles the entry once
# more with its function renamed zk_fuzz_entry_<name> into a replay program
# that runs it over every file of its corpus; the ctest fuzz_replay runs all
# targets that way, so a change that breaks a reader on an input that once
# found a fault fails without clang. Targets share one replay program (each
# would otherwise carry its own copy of the whole application library);
# those whose libraries cannot be linked beside the application library (the
# path viewer carries its own copies of shared files) get one per set of
# libraries. Each target runs in a process of its own, so harnesses may keep
# static state (an application object, say). Entries of one replay program
# are linked together: a harness keeps its helpers in an anonymous namespace.
# An entry may define LLVMFuzzerInitialize; it is renamed and called too.

# Libraries a target may name and still share the main replay program.
set(ZK_FUZZ_REPLAY_SHARED_LIBS zkapp zelkor32_static zelkor32 m dl ${CMAKE_DL_LIBS})

set_property(GLOBAL PROPERTY ZK_FUZZ_TARGETS "")

function(zk_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 F "" "ENTRY;CORPUS" "SOURCES;LIBS")
  if(F_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "zk_fuzz_target(${name}): unknown arguments ${F_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT F_ENTRY OR NOT F_CORPUS)
    message(FATAL_ERROR "zk_fuzz_target(${name}): ENTRY and CORPUS are required")
  endif()
  if(NOT name MATCHES "^[A-Za-z0-9_]+$")
    message(FATAL_ERROR "zk_fuzz_target(${name}): a name is letters, digits and _")
  endif()
  get_property(known GLOBAL PROPERTY ZK_FUZZ_TARGETS)
  if(name IN_LIST known)
    message(FATAL_ERROR "zk_fuzz_target(${name}): declared twice")
  endif()
  get_filename_component(entry ${F_ENTRY} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  get_filename_component(corpus ${F_CORPUS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})

  if(ZK_FUZZ)
    add_executable(fuzz_${name} ${entry} ${F_SOURCES})
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/engine
                               ${CMAKE_SOURCE_DIR}/platform)
    # libFuzzer's main, linked as an ordinary library after the program's
    # own: -fsanitize=fuzzer would put it and its C++ library before the
    # shared sanitizer run-time, which must be the first library loaded.
    target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS} Qt6::Core ${ZK_LIBFUZZER})
  endif()

  if(ZK_TESTS)
    # The entry alone, renamed, for the replay program.
    add_library(zk_fuzz_entry_${name} OBJECT ${entry})
    target_include_directories(zk_fuzz_entry_${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/engine
                               ${CMAKE_SOURCE_DIR}/platform)
    target_compile_definitions(zk_fuzz_entry_${name} PRIVATE
      LLVMFuzzerTestOneInput=zk_fuzz_entry_${name}
      LLVMFuzzerInitialize=zk_fuzz_init_${name})
    target_link_libraries(zk_fuzz_entry_${name} PUBLIC ${F_LIBS} Qt6::Core)

    set(group main)
    foreach(lib IN LISTS F_LIBS)
      if(NOT lib IN_LIST ZK_FUZZ_REPLAY_SHARED_LIBS AND NOT lib MATCHES "^(Qt6|PkgConfig)::")
        set(group "${F_LIBS}")
        list(SORT group)
        list(JOIN group "_" group)
        string(MAKE_C_IDENTIFIER "${group}" group)
        break()
      endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY ZK_FUZZ_TARGETS ${name})
    set_property(GLOBAL PROPERTY ZK_FUZZ_CORPUS_${name} ${corpus})
    set_property(GLOBAL PROPERTY ZK_FUZZ_LIBS_${name} ${F_LIBS})
    set_property(GLOBAL PROPERTY ZK_FUZZ_GROUP_${name} ${group})
  endif()
endfunction()

# After every folder has declared its targets: one replay program per group,
# with a generated table of its targets, and the ctest that runs them all.
function(zk_fuzz_replay_programs)
  get_property(targets GLOBAL PROPERTY ZK_FUZZ_TARGETS)
  set(groups "")
  foreach(t IN LISTS targets)
    get_property(g GLOBAL PROPERTY ZK_FUZZ_GROUP_${t})
    list(APPEND groups ${g})
    list(APPEND members_${g} ${t})
  endforeach()
  list(REMOVE_DUPLICATES groups)

  set(programs "")
  foreach(g IN LISTS groups)
    if(g STREQUAL "main")
      set(exe zk_fuzz_replay)
    else()
      set(exe zk_fuzz_replay_${g})
    endif()
    set(decls "")
    set(rows "")
    set(libs "")
    foreach(t IN LISTS members_${g})
      get_property(corpus GLOBAL PROPERTY ZK_FUZZ_CORPUS_${t})
      get_property(tlibs GLOBAL PROPERTY ZK_FUZZ_LIBS_${t})
      list(APPEND libs ${tlibs})
      string(APPEND decls
        "extern \"C\" int zk_fuzz_entry_${t}(const uint8_t *, size_t);\n"
        "extern \"C\" int zk_fuzz_init_${t}(int *, char ***) __attribute__((weak));\n")
      string(APPEND rows "    {\"${t}\", zk_fuzz_entry_${t}, zk_fuzz_init_${t}, R\"zk(${corpus})zk\"},\n")
    endforeach()
    set(table ${CMAKE_BINARY_DIR}/fuzz/${exe}_table.cpp)
    file(GENERATE OUTPUT ${table} CONTENT
"// Generated by cmake/ZkFuzz.cmake: the fuzz targets of ${exe}.
#include <cstddef>
#include <cstdint>

#include \"replay.h\"

${decls}
const zk::fuzz::Target zk::fuzz::targets[] = {
${rows}};
const size_t zk::fuzz::targetCount = sizeof(zk::fuzz::targets) / sizeof(zk::fuzz::targets[0]);
")
    add_executable(${exe} ${CMAKE_SOURCE_DIR}/tests/fuzz/replay.cpp ${table})
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz)
    foreach(t IN LISTS members_${g})
      target_link_libraries(${exe} PRIVATE zk_fuzz_entry_${t})
    endforeach()
    if(g STREQUAL "main")
      # Targets built from SOURCES alone find them in the application library.
      list(APPEND libs zkapp)
    endif()
    list(REMOVE_DUPLICATES libs)
    target_link_libraries(${exe} PRIVATE ${libs})
    if(TARGET zk_data)
      add_dependencies(${exe} zk_data)
    endif()
    if(TARGET zelkor32)
      add_dependencies(${exe} zelkor32)
    endif()
    list(APPEND programs $<TARGET_FILE:${exe}>)
  endforeach()

  if(targets)
    list(JOIN programs "," programs)
    add_test(NAME fuzz_replay
             COMMAND ${CMAKE_COMMAND} "-DPROGRAMS=${programs}" -P ${CMAKE_SOURCE_DIR}/cmake/ZkFuzzReplay.cmake)
    zk_set_test_env(fuzz_replay)
  endif()
endfunction()

if(ZK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR NOT CMAKE_C_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZK_FUZZ=ON needs clang (CC=clang CXX=clang++): libFuzzer comes with it")
  endif()
  # Everything is instrumented, the engine included, so that a fuzzed map
  # reaches the painter and the tile readers under the sanitizers and with
  # coverage; libFuzzer's own main is linked only into the fuzz_ programs.
  # A finding of UndefinedBehaviorSanitizer stops the run like any other.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow
                      -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

# clang links its sanitizer run-time statically into programs and not at all
# into shared libraries, which then leave its names undefined: the engine
# library would no longer link with --no-undefined, and could be loaded only
# by C++ programs (the C++ half of UBSan is not in a C program's copy). Linked
# as the shared library it also comes as, the run-time is one copy for the
# program and every library, whatever their language; the programs find it
# where clang keeps it.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND (ZK_FUZZ OR ZK_SANITIZE))
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libclang_rt.asan-${CMAKE_SYSTEM_PROCESSOR}.so
                  OUTPUT_VARIABLE ZK_SANITIZER_RUNTIME OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${ZK_SANITIZER_RUNTIME}" OR NOT EXISTS "${ZK_SANITIZER_RUNTIME}")
    message(FATAL_ERROR "clang's shared sanitizer run-time is missing (${ZK_SANITIZER_RUNTIME}): install the Debian package clang (./scripts/install-deps.sh --fuzz installs it)")
  endif()
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libclang_rt.fuzzer-${CMAKE_SYSTEM_PROCESSOR}.a
                  OUTPUT_VARIABLE ZK_LIBFUZZER OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(ZK_FUZZ AND (NOT IS_ABSOLUTE "${ZK_LIBFUZZER}" OR NOT EXISTS "${ZK_LIBFUZZER}"))
    message(FATAL_ERROR "libFuzzer is missing (${ZK_LIBFUZZER}): install the Debian package clang (./scripts/install-deps.sh --fuzz installs it)")
  endif()
  get_filename_component(ZK_SANITIZER_RUNTIME_DIR ${ZK_SANITIZER_RUNTIME} DIRECTORY)
  add_link_options(-shared-libsan -Wl,-rpath,${ZK_SANITIZER_RUNTIME_DIR})
endif()

if(ZK_TESTS)
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zk_fuzz_replay_programs)
endif()
