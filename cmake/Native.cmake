# Native (Linux) tree: the windowless library and its unit tests under sanitizers.
find_package(GTest REQUIRED)

if(TABCARD_SANITIZE)
  set(TABCARD_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_compile_options(tabcard_core PRIVATE ${TABCARD_SAN_FLAGS})
endif()

file(GLOB TABCARD_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${TABCARD_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE tabcard_core GTest::gtest GTest::gtest_main)
if(TABCARD_SANITIZE)
  target_compile_options(unit_tests PRIVATE ${TABCARD_SAN_FLAGS})
  target_link_options(unit_tests PRIVATE ${TABCARD_SAN_FLAGS})
endif()

# Includes point only down the folder layers (tools/check_layers.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME include_direction
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/check_layers.py
                 ${PROJECT_SOURCE_DIR}/src)

include(GoogleTest)
gtest_discover_tests(unit_tests WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                     PROPERTIES ENVIRONMENT "LC_ALL=C")

file(GLOB TABCARD_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/native/*.cpp)
foreach(src ${TABCARD_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE tabcard_core)
endforeach()
