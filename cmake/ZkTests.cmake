# Helpers that every folder uses to declare its tests.
#
#   zk_engine_gtest(name src...)  GoogleTest program linked to the engine's
#                                 internals (static copy) for white-box tests.
#   zk_gtest(name src...)         GoogleTest program linked to the main
#                                 program's code (zkapp).
#   zk_qtest(name src...)         Qt Test program linked to zkapp, run under
#                                 the offscreen platform.
# Tests run with their own per-user folders (XDG_*), a pinned 96 dpi and C
# locale unless a test pins another one.
set(ZK_TEST_ENV
  "QT_QPA_PLATFORM=offscreen"
  "QT_FONT_DPI=96"
  "ZK_FIXTURES=${ZK_FIXTURES_DIR}"
  "ZK_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

function(zk_set_test_env name)
  set(home ${CMAKE_BINARY_DIR}/testhome/${name})
  file(MAKE_DIRECTORY ${home})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "${ZK_TEST_ENV};HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;XDG_RUNTIME_DIR=${home}/run"
    TIMEOUT 600)
endfunction()

function(zk_engine_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zelkor32_static GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ZK_FIXTURES_DIR="${ZK_FIXTURES_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  zk_set_test_env(${name})
endfunction()

function(zk_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zkapp GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ZK_FIXTURES_DIR="${ZK_FIXTURES_DIR}")
  add_dependencies(${name} zelkor32 zk_data)
  add_test(NAME ${name} COMMAND ${name})
  zk_set_test_env(${name})
endfunction()

function(zk_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zkapp Qt6::Test)
  target_compile_definitions(${name} PRIVATE ZK_FIXTURES_DIR="${ZK_FIXTURES_DIR}")
  add_dependencies(${name} zelkor32 zk_data)
  add_test(NAME ${name} COMMAND ${name})
  zk_set_test_env(${name})
endfunction()

# zk_desktop_test(name src...)  Qt Test program linked to zkapp, run on an X
#                               display of its own with a window manager
#                               (tests/desktop/on-desktop.sh): for tests of
#                               frames, focus, activation and placement. The
#                               screen is 1280 x 1024 unless ZK_SCREEN is set
#                               in the test's environment.
function(zk_desktop_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zkapp Qt6::Test)
  target_compile_definitions(${name} PRIVATE ZK_FIXTURES_DIR="${ZK_FIXTURES_DIR}")
  add_dependencies(${name} zelkor32 zk_data)
  add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/desktop/on-desktop.sh $<TARGET_FILE:${name}>)
  zk_set_test_env(${name})
  # Focus and activation follow the window manager's timing: alone on the
  # machine, a loaded one does not change what the test sees.
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
endfunction()

# zk_netns_qtest(name src...)   Qt Test program linked to zkapp, run inside a
#                               network namespace of its own with only the
#                               loopback (tests/netns/in-netns.sh): for tests
#                               that send to multicast groups or broadcast, so
#                               that nothing they send leaves the machine's
#                               loopback. Where the namespace cannot be made
#                               the test fails, saying what is missing.
function(zk_netns_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zkapp Qt6::Test)
  target_compile_definitions(${name} PRIVATE ZK_FIXTURES_DIR="${ZK_FIXTURES_DIR}")
  add_dependencies(${name} zelkor32 zk_data)
  add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/netns/in-netns.sh $<TARGET_FILE:${name}>)
  zk_set_test_env(${name})
endfunction()
