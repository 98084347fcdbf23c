# Windows tree (MinGW-w64 on Linux, or a native Windows toolchain): the program,
# the unit tests as a Windows program, the Win32 adapter tests and the end-to-end tests.
set(TABCARD_WIN_LIBS user32 gdi32 comctl32 advapi32 shell32 imm32 comdlg32 msimg32 oleacc ole32 oleaut32)
if(NOT MSVC)
  # Only system DLLs at run time.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

if(EXISTS /usr/src/googletest/CMakeLists.txt AND NOT TABCARD_GTEST_DIR)
  set(TABCARD_GTEST_DIR /usr/src/googletest)
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
if(TABCARD_GTEST_DIR)
  add_subdirectory(${TABCARD_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

add_library(tabcard_win STATIC ${TABCARD_WIN_SOURCES})
target_link_libraries(tabcard_win PUBLIC tabcard_core ${TABCARD_WIN_LIBS})

add_executable(Tabcard WIN32 ${PROJECT_SOURCE_DIR}/src/app/winmain_win.cpp
                             ${PROJECT_SOURCE_DIR}/src/res/tabcard.rc)
target_link_libraries(Tabcard PRIVATE tabcard_win)
if(NOT MSVC)
  target_link_options(Tabcard PRIVATE -municode)
endif()
# The HTML help ships beside the exe; relinking on its change keeps bin/ current.
set(TABCARD_HELP_HTML ${PROJECT_SOURCE_DIR}/docs/help/Tabcard.html)
set_property(TARGET Tabcard APPEND PROPERTY LINK_DEPENDS ${TABCARD_HELP_HTML})
add_custom_command(TARGET Tabcard POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TABCARD_HELP_HTML} $<TARGET_FILE_DIR:Tabcard>)

set(TABCARD_RIG ${PROJECT_SOURCE_DIR}/tests/rig/wine-rig.sh)
function(tabcard_wine_test name)
  # Under Wine through the rig; on Windows the program runs as it is.
  if(CMAKE_HOST_WIN32)
    add_test(NAME ${name} COMMAND ${ARGN})
  else()
    add_test(NAME ${name} COMMAND bash ${TABCARD_RIG} --build-dir ${CMAKE_BINARY_DIR} ${ARGN})
  endif()
endfunction()

# The release archive and installer: built in a tree of its own and checked
# (the archive's files, the exe's size and imports, the installer's kind).
if(NOT CMAKE_HOST_WIN32)
  add_test(NAME release_archive COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/release.sh --check)
  set_tests_properties(release_archive PROPERTIES FIXTURES_SETUP release)
endif()

file(GLOB TABCARD_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${TABCARD_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE tabcard_win GTest::gtest GTest::gtest_main)
tabcard_wine_test(wine_unit_ja --locale ja -- $<TARGET_FILE:unit_tests>)
tabcard_wine_test(wine_unit_c --locale c -- $<TARGET_FILE:unit_tests>)

file(GLOB TABCARD_WIN_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*.cpp)
if(TABCARD_WIN_TESTS)
  add_executable(win_tests ${TABCARD_WIN_TESTS})
  target_link_libraries(win_tests PRIVATE tabcard_win GTest::gtest GTest::gtest_main)
  # Where the tests find the source tree's resource files (drag.cur).
  target_compile_definitions(win_tests PRIVATE TABCARD_SOURCE_DIR="${PROJECT_SOURCE_DIR}/")
  tabcard_wine_test(wine_adapters_ja --locale ja -- $<TARGET_FILE:win_tests>)
  tabcard_wine_test(wine_adapters_c --locale c -- $<TARGET_FILE:win_tests>)
endif()

# End-to-end: a receiving program, the support code that drives Tabcard.exe
# like a user (also used by the benchmarks), and the scenarios (*_test.cpp).
file(GLOB TABCARD_RECEIVER CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/receiver/*.cpp)
file(GLOB TABCARD_E2E_SUPPORT CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
list(FILTER TABCARD_E2E_SUPPORT EXCLUDE REGEX "_test\\.cpp$")
file(GLOB TABCARD_E2E CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*_test.cpp)
if(TABCARD_RECEIVER)
  add_executable(receiver WIN32 ${TABCARD_RECEIVER})
  target_link_libraries(receiver PRIVATE tabcard_win)
  if(NOT MSVC)
    target_link_options(receiver PRIVATE -municode)
  endif()
endif()
if(TABCARD_E2E_SUPPORT)
  add_library(e2e_support STATIC ${TABCARD_E2E_SUPPORT})
  target_include_directories(e2e_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/e2e)
  target_link_libraries(e2e_support PUBLIC tabcard_win)
endif()
if(TABCARD_E2E)
  add_executable(e2e_tests ${TABCARD_E2E})
  target_link_libraries(e2e_tests PRIVATE e2e_support GTest::gtest GTest::gtest_main)
  add_dependencies(e2e_tests Tabcard)
  if(TARGET receiver)
    add_dependencies(e2e_tests receiver)
  endif()
  tabcard_wine_test(wine_e2e_ja --locale ja --timeout 600 -- $<TARGET_FILE:e2e_tests>)
  tabcard_wine_test(wine_e2e_c --locale c --timeout 600 -- $<TARGET_FILE:e2e_tests> --gtest_filter=Smoke*)
  set_tests_properties(wine_e2e_ja wine_e2e_c PROPERTIES RUN_SERIAL TRUE)
endif()

# The installer release_archive built, installed and uninstalled under Wine.
if(NOT CMAKE_HOST_WIN32 AND TARGET e2e_support)
  add_executable(installer_tests ${PROJECT_SOURCE_DIR}/tests/installer/installer_test.cpp)
  target_link_libraries(installer_tests PRIVATE e2e_support version GTest::gtest GTest::gtest_main)
  tabcard_wine_test(wine_installer --locale ja --timeout 300 -- $<TARGET_FILE:installer_tests>)
  string(REPLACE "/" "\\" release_dir "Z:${PROJECT_SOURCE_DIR}/build/release")
  set_tests_properties(wine_installer PROPERTIES FIXTURES_REQUIRED release
                       ENVIRONMENT "TABCARD_RELEASE=${release_dir}")
endif()

# Benchmarks: run through the rig, e.g. scripts/bench.sh.
if(EXISTS ${PROJECT_SOURCE_DIR}/bench/minimal_win.cpp)
  add_executable(bench_minimal WIN32 ${PROJECT_SOURCE_DIR}/bench/minimal_win.cpp)
  add_executable(bench_minimal_tray WIN32 ${PROJECT_SOURCE_DIR}/bench/minimal_win.cpp
                                          ${PROJECT_SOURCE_DIR}/bench/minimal_tray.rc)
  target_compile_definitions(bench_minimal_tray PRIVATE BENCH_MINIMAL_TRAY)
  target_include_directories(bench_minimal_tray PRIVATE ${PROJECT_SOURCE_DIR}/src/res)
  target_link_libraries(bench_minimal_tray PRIVATE comctl32 shell32)
  add_library(bench_run STATIC ${PROJECT_SOURCE_DIR}/bench/bench_run_win.cpp)
  target_link_libraries(bench_run PUBLIC e2e_support)
  target_include_directories(bench_run PUBLIC ${PROJECT_SOURCE_DIR}/bench)
  add_executable(bench_startup ${PROJECT_SOURCE_DIR}/bench/startup_win.cpp)
  target_link_libraries(bench_startup PRIVATE bench_run psapi)
  # Phrases, memo files and the profile editor at scale, against plain reads.
  add_executable(bench_scale ${PROJECT_SOURCE_DIR}/bench/scale_win.cpp)
  target_link_libraries(bench_scale PRIVATE bench_run)
  foreach(t bench_minimal bench_minimal_tray bench_startup bench_scale)
    if(NOT MSVC)
      target_link_options(${t} PRIVATE -municode)
    endif()
  endforeach()
  add_dependencies(bench_startup Tabcard bench_minimal bench_minimal_tray)
  add_dependencies(bench_scale Tabcard)
endif()

# The transfer's benchmarks: Timer1 with a 10 MB clipboard, and drop latency.
if(EXISTS ${PROJECT_SOURCE_DIR}/bench/clipboard_tick_win.cpp)
  add_executable(bench_clipboard_tick ${PROJECT_SOURCE_DIR}/bench/clipboard_tick_win.cpp)
  target_link_libraries(bench_clipboard_tick PRIVATE tabcard_win)
  add_executable(bench_drop_latency ${PROJECT_SOURCE_DIR}/bench/drop_latency_win.cpp)
  target_link_libraries(bench_drop_latency PRIVATE e2e_support)
  if(NOT MSVC)
    target_link_options(bench_clipboard_tick PRIVATE -municode)
    target_link_options(bench_drop_latency PRIVATE -municode)
  endif()
  add_dependencies(bench_drop_latency Tabcard receiver)
endif()
