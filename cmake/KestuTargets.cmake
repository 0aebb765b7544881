# Every library is one folder; its sources are picked up by glob so that a new
# file needs no build edit. Include paths are rooted at src/.

# Warnings that hide 32/64-bit faults (truncation, sign and size mismatches)
# are errors on every target.
set(KESTU_WARNINGS
  -Wall -Wextra
  -Werror=sign-compare -Werror=narrowing -Werror=int-to-pointer-cast
  -Werror=pointer-arith -Werror=format -Werror=return-type
  $<$<COMPILE_LANGUAGE:C>:-Werror=pointer-to-int-cast>)

# kestu_library(<name> <folder> [DEPS <targets>...])
function(kestu_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.c)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${KESTU_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} kestu_options)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS} kestu_options)
  endif()
endfunction()

# kestu_tests(<folder> <libs>...): one test program per *_test.cpp file.
# Test names carry the configuration's suffix, so one CTest run can hold all.
# Test programs find committed test data through KESTU_TEST_DATA; Windows
# programs under Wine see the Linux file system as drive Z:.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(KESTU_TEST_DATA "Z:${PROJECT_SOURCE_DIR}/tests/data")
else()
  set(KESTU_TEST_DATA "${PROJECT_SOURCE_DIR}/tests/data")
endif()

function(kestu_tests folder)
  file(GLOB tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*_test.cpp)
  foreach(source ${tests})
    get_filename_component(stem ${source} NAME_WE)
    add_executable(${stem} ${source})
    target_compile_options(${stem} PRIVATE ${KESTU_WARNINGS})
    target_link_libraries(${stem} PRIVATE ${ARGN})
    target_compile_definitions(${stem} PRIVATE KESTU_TEST_DATA="${KESTU_TEST_DATA}")
    if(NOT DEFINED KESTU_RUN_TESTS OR KESTU_RUN_TESTS)
      add_test(NAME ${KESTU_CONFIG}.${stem} COMMAND ${stem} --gtest_brief=1)
      if(CMAKE_CROSSCOMPILING)
        # Windows tests share one virtual display; some read the screen back.
        set_tests_properties(${KESTU_CONFIG}.${stem} PROPERTIES RESOURCE_LOCK display)
      endif()
    endif()
  endforeach()
endfunction()

# The portable core: no <windows.h>, built for both sides.
macro(kestu_portable_libraries)
  kestu_library(kestu_base src/base)
  kestu_library(kestu_skin_core src/skin/core DEPS kestu_base)
  # Only the AVX2 and AVX-512 kernels are compiled for those; they are entered only where
  # the processor has it. Windows does not promise the 32-byte stack
  # alignment aligned AVX moves would need, so the assembler makes them
  # unaligned there.
  set(unaligned $<$<PLATFORM_ID:Windows>:-Wa,-muse-unaligned-vector-move>)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/src/skin/core/PixelKernelsAvx2.cpp PROPERTIES
    COMPILE_OPTIONS "-mavx2;${unaligned}")
  set_source_files_properties(${PROJECT_SOURCE_DIR}/src/skin/core/PixelKernelsAvx512.cpp PROPERTIES
    COMPILE_OPTIONS "-mavx512bw;${unaligned}")
  kestu_library(kestu_themekit_core src/themekit/core DEPS kestu_base)
  set(KESTU_PORTABLE kestu_themekit_core kestu_skin_core kestu_base)
endmacro()
