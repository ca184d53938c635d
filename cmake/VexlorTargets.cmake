# Flags go on the project's own targets, never through CMAKE_CXX_FLAGS.
function(vexlor_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VEXLOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # The hardening Debian builds its packages with.
  if(CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${target} PRIVATE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
    target_link_options(${target} PRIVATE -Wl,-z,relro,-z,now)
  endif()
  if(VEXLOR_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
      -gline-tables-only)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(VEXLOR_FUZZ)
    # Coverage for libFuzzer in every library; only the fuzz programs link its main.
    target_compile_options(${target} PRIVATE -O2 -gline-tables-only -fno-omit-frame-pointer
      -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
      -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/fuzz/coverage-ignore.txt)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Test programs compile against every Qt module's definitions and headers,
# whatever they link, so that one precompiled header fits them all. QtTest's
# own usage requirements name each test's folder, so it is linked without them.
set(vexlor_qt_modules Core Gui Widgets Network SerialPort PrintSupport Charts OpenGL OpenGLWidgets Test)
add_library(vexlor_qt_headers INTERFACE)
foreach(module ${vexlor_qt_modules})
  target_include_directories(vexlor_qt_headers SYSTEM INTERFACE
    $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
endforeach()
target_compile_definitions(vexlor_qt_headers INTERFACE QT_CORE_LIB QT_GUI_LIB QT_WIDGETS_LIB
  QT_NETWORK_LIB QT_SERIALPORT_LIB QT_PRINTSUPPORT_LIB QT_CHARTS_LIB QT_OPENGL_LIB
  QT_OPENGLWIDGETS_LIB QT_TESTLIB_LIB)
add_library(vexlor_qt_test INTERFACE)
target_link_libraries(vexlor_qt_test INTERFACE $<LINK_ONLY:Qt6::Test> Qt6::Widgets)

# lld links a sanitized test in a fifth of ld's time; the installed programs
# keep the system linker.
find_program(VEXLOR_LLD ld.lld)
function(vexlor_fast_link target)
  if(VEXLOR_LLD)
    target_link_options(${target} PRIVATE -fuse-ld=lld)
  endif()
endfunction()

# automoc runs moc through cmake/moc.sh.in, which hands it the project's include
# directories only (VEXLOR_FAST_MOC=OFF gives it all of them).
option(VEXLOR_FAST_MOC "Run moc without Qt's include directories" ON)
if(VEXLOR_FAST_MOC)
  get_target_property(VEXLOR_REAL_MOC Qt6::moc LOCATION)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/moc.sh.in ${PROJECT_BINARY_DIR}/moc.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
function(vexlor_fast_moc target)
  if(VEXLOR_FAST_MOC)
    set_target_properties(${target} PROPERTIES AUTOMOC_EXECUTABLE ${PROJECT_BINARY_DIR}/moc.sh)
  endif()
endfunction()

# vexlor_library(name SOURCES ... LIBS ...)
function(vexlor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  # A library's sources compile together; each still compiles on its own.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ${VEXLOR_UNITY})
  vexlor_fast_moc(${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  vexlor_target_options(${name})
  if(VEXLOR_SANITIZE OR VEXLOR_FUZZ)
    target_link_options(${name} INTERFACE -fsanitize=address,undefined)
  endif()
endfunction()

# vexlor_executable(name SOURCES ... LIBS ...)
function(vexlor_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  # The programs' own sources declare no QObject; moc would only cost time.
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE VEXLOR_VERSION="${PROJECT_VERSION}")
  vexlor_target_options(${name})
endfunction()

# vexlor_test(name LABEL unit|integration|gui [TIMEOUT s] [COST s] SOURCES ... LIBS ...
#             [DEFINITIONS ...] [DEPENDS target...])
# COST is about how long the test runs under the sanitizers: CTest starts the
# long ones first, even in a fresh tree with no timings of its own yet.
# The tests of one folder make one program, tests_<folder>, so each folder pays
# for moc, compiling and linking once; CTest still starts one process per test.
function(vexlor_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT;COST" "SOURCES;LIBS;DEFINITIONS;DEPENDS" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" folder "${folder}")
  set(suite tests_${folder})
  if(NOT TARGET ${suite})
    add_executable(${suite})
    # Batches of test files compile in a fraction of the time the files take
    # one by one; each file keeps its names in a namespace of its own.
    set_target_properties(${suite} PROPERTIES UNITY_BUILD ${VEXLOR_UNITY} UNITY_BUILD_BATCH_SIZE 8)
    vexlor_fast_moc(${suite})
    # vexlor_test_main brings every Qt header and QtTest.
    target_link_libraries(${suite} PRIVATE vexlor_test_main vexlor_fakes)
    vexlor_target_options(${suite})
    if(VEXLOR_TEST_PCH)
      target_precompile_headers(${suite} REUSE_FROM vexlor_test_pch)
      # The test files include their own moc output, so automoc's file is empty.
      set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${suite}_autogen/mocs_compilation.cpp
        PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
    vexlor_fast_link(${suite})
    set_target_properties(${suite} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  endif()
  target_sources(${suite} PRIVATE ${ARG_SOURCES})
  target_link_libraries(${suite} PRIVATE ${ARG_LIBS})
  if(ARG_DEFINITIONS)
    set_source_files_properties(${ARG_SOURCES} PROPERTIES COMPILE_DEFINITIONS "${ARG_DEFINITIONS}")
  endif()
  if(ARG_DEPENDS)
    add_dependencies(${suite} ${ARG_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${suite} ${name})
  if(ARG_COST)
    set_tests_properties(${name} PROPERTIES COST ${ARG_COST})
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS ${ARG_LABEL}
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;VEXLOR_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()

# vexlor_fuzzer(name SOURCES ... LIBS ...): a libFuzzer program, built only with VEXLOR_FUZZ.
function(vexlor_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -Wall -Wextra -O2 -gline-tables-only -fno-omit-frame-pointer
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
    -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/fuzz/coverage-ignore.txt)
  if(VEXLOR_WERROR)
    target_compile_options(${name} PRIVATE -Werror)
  endif()
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
