# Native Linux build of the portable core: tests under the sanitizers,
# benchmarks, and (with KESTU_FUZZ) libFuzzer targets. Built as 32-bit code
# (toolchain native-i686) it is the configuration native32: the tests alone,
# with libjpeg and googletest built from source, as no 32-bit system
# libraries install here.
option(KESTU_ASAN "AddressSanitizer beside UBSan in the sanitized build" ON)
add_library(kestu_options INTERFACE)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KESTU_CONFIG native32)
  include(cmake/BuiltDeps.cmake)
  kestu_built_jpeg()
else()
  set(KESTU_CONFIG native)
  find_package(JPEG REQUIRED)
  target_link_libraries(kestu_options INTERFACE JPEG::JPEG)
endif()

if(KESTU_FUZZ)
  target_compile_options(kestu_options INTERFACE -g -O1 -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(kestu_options INTERFACE -fsanitize=address,undefined)
  kestu_portable_libraries()
  file(GLOB fuzzers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(source ${fuzzers})
    get_filename_component(stem ${source} NAME_WE)
    add_executable(${stem} ${source})
    target_link_libraries(${stem} PRIVATE ${KESTU_PORTABLE})
    target_link_options(${stem} PRIVATE -fsanitize=fuzzer)
    # A short smoke run over the committed seeds keeps the targets honest;
    # an input that takes more than five seconds fails it (a parser that
    # looks hung). New inputs go to a folder of the build, never into the
    # committed seeds.
    set(found ${CMAKE_BINARY_DIR}/fuzz-found/${stem})
    file(MAKE_DIRECTORY ${found})
    set(seeds ${PROJECT_SOURCE_DIR}/fuzz/corpus/${stem})
    if(NOT EXISTS ${seeds})
      set(seeds "")
    endif()
    add_test(NAME fuzz.${stem} COMMAND ${stem} -runs=5000 -max_total_time=10 -timeout=5 ${found} ${seeds})
  endforeach()
  return()
endif()

if(KESTU_SANITIZE)
  set(sanitizers $<IF:$<BOOL:${KESTU_ASAN}>,address$<COMMA>undefined,undefined>)
  target_compile_options(kestu_options INTERFACE -g -fno-omit-frame-pointer
    -fsanitize=${sanitizers} -fno-sanitize-recover=undefined)
  target_link_options(kestu_options INTERFACE -fsanitize=${sanitizers})
endif()

kestu_portable_libraries()

if(KESTU_CONFIG STREQUAL native32)
  kestu_built_gtest()
  kestu_tests(tests/native ${KESTU_PORTABLE} gtest_main)
  return()
endif()

find_package(GTest REQUIRED)
kestu_tests(tests/native ${KESTU_PORTABLE} GTest::gtest_main)

# The built-in skin stored in the form descriptions is written from its table
# and its pictures: `cmake --build <this build> --target update_internal_skin`
# rewrites them; the test fails while a committed description differs.
add_executable(write_internal_skin ${PROJECT_SOURCE_DIR}/tools/internal-skin/write_internal_skin.cpp)
target_compile_options(write_internal_skin PRIVATE ${KESTU_WARNINGS})
target_link_libraries(write_internal_skin PRIVATE ${KESTU_PORTABLE})
set(internal_skin_arguments ${PROJECT_SOURCE_DIR}/resources/artwork/skin
  ${PROJECT_SOURCE_DIR}/resources/forms/Form1.form
  ${PROJECT_SOURCE_DIR}/resources/gallery/forms/GalleryFrame.form
  ${PROJECT_SOURCE_DIR}/tests/windows/resources/SkinTestForm.form)
add_custom_target(update_internal_skin COMMAND write_internal_skin ${internal_skin_arguments})
add_test(NAME native.internal_skin_stored COMMAND write_internal_skin --check ${internal_skin_arguments})
# Debian's own Python: the tools use its packages (python3-pil).
set(Python3_EXECUTABLE /usr/bin/python3)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB python_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*_test.py)
foreach(source ${python_tests})
  get_filename_component(stem ${source} NAME_WE)
  add_test(NAME native.${stem} COMMAND Python3::Interpreter ${source}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
endforeach()

file(GLOB benches CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
if(benches)
  find_package(benchmark REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
  add_executable(kestu_bench ${benches})
  target_compile_options(kestu_bench PRIVATE -O2)
  target_link_libraries(kestu_bench PRIVATE ${KESTU_PORTABLE} benchmark::benchmark PkgConfig::PIXMAN)
endif()
