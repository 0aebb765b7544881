# Cross build for Windows with mingw-w64: the program, its libraries, and the
# Windows-side tests (run under Wine through CMAKE_CROSSCOMPILING_EMULATOR).
if(KESTU_ARCH STREQUAL "i686")
  set(KESTU_CONFIG win32)
else()
  set(KESTU_CONFIG win64)
endif()
enable_language(RC)
add_library(kestu_options INTERFACE)
target_compile_definitions(kestu_options INTERFACE
  UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
# Static runtime: the .exe needs no mingw DLLs beside it.
target_link_options(kestu_options INTERFACE -static -static-libgcc -static-libstdc++)

# Every function and datum in a section of its own, so that the program's
# link drops what it never reaches.
target_compile_options(kestu_options INTERFACE -ffunction-sections -fdata-sections)

# libjpeg, cross-built by tools/deps/libjpeg from Debian's source package.
include(cmake/BuiltDeps.cmake)
kestu_built_jpeg()

kestu_portable_libraries()
# The Windows code is optimised for size, which takes a tenth off the
# program; the pixel routines, where the time goes, stay optimised for speed.
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-Os -g -DNDEBUG")
file(GLOB pixel_sources ${PROJECT_SOURCE_DIR}/src/skin/core/Pixel*.cpp ${PROJECT_SOURCE_DIR}/src/skin/core/Gradient.cpp)
set_property(SOURCE ${pixel_sources} APPEND PROPERTY COMPILE_OPTIONS -O2)
set(KESTU_WIN32_SYSTEM_LIBS user32 gdi32 msimg32 comctl32 comdlg32 ole32 oleaut32 oleacc uuid odbc32 shell32 advapi32 ntdll)
kestu_library(kestu_framework src/framework DEPS ${KESTU_PORTABLE} ${KESTU_WIN32_SYSTEM_LIBS})
kestu_library(kestu_db src/db DEPS kestu_framework)
kestu_library(kestu_themekit src/themekit DEPS kestu_framework)
kestu_library(kestu_skin src/skin DEPS kestu_framework)
set(KESTU_WINDOWS kestu_skin kestu_themekit kestu_db kestu_framework ${KESTU_PORTABLE})

# Form descriptions are packed (tools/pack_resource.py) into packed/, where
# the resource scripts find them; the program unpacks them as it loads them.
file(GLOB form_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/forms/*.form
  ${PROJECT_SOURCE_DIR}/resources/gallery/forms/*.form)
set(packed_dir ${CMAKE_BINARY_DIR}/packed)
set(packed_files)
foreach(form ${form_files})
  get_filename_component(name ${form} NAME)
  add_custom_command(OUTPUT ${packed_dir}/${name}.kpk
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packed_dir}
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tools/pack_resource.py ${form} ${packed_dir}/${name}.kpk
    DEPENDS ${form} ${PROJECT_SOURCE_DIR}/tools/pack_resource.py)
  list(APPEND packed_files ${packed_dir}/${name}.kpk)
endforeach()

# All resources of the program (manifest, icon, bitmaps, form descriptions).
add_library(kestu_resources OBJECT ${PROJECT_SOURCE_DIR}/resources/KestuSetup.rc)
# windres reports no dependencies, so a script is rebuilt whenever any file
# under the folders it reads changes (included scripts, images, forms).
file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/KestuSetup.rc APPEND PROPERTY
  OBJECT_DEPENDS "${resource_files};${packed_files}")
target_include_directories(kestu_resources PRIVATE ${PROJECT_SOURCE_DIR}/resources ${packed_dir})

# The test programs' resources: the program's, and those only tests carry
# (test forms, reference pictures).
set(test_resource_script ${PROJECT_SOURCE_DIR}/tests/windows/resources/TestResources.rc)
add_library(kestu_test_resources OBJECT ${test_resource_script})
file(GLOB test_resource_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/windows/resources/*)
set_property(SOURCE ${test_resource_script} APPEND PROPERTY
  OBJECT_DEPENDS "${test_resource_files};${resource_files};${packed_files}")
target_include_directories(kestu_test_resources PRIVATE
  ${PROJECT_SOURCE_DIR}/tests/windows/resources ${PROJECT_SOURCE_DIR}/resources ${packed_dir})

file(GLOB app_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/app/*.cpp)
add_executable(KestuSetup WIN32 ${app_sources} $<TARGET_OBJECTS:kestu_resources>)
target_compile_options(KestuSetup PRIVATE ${KESTU_WARNINGS})
target_link_options(KestuSetup PRIVATE -municode -Wl,--gc-sections)
target_link_libraries(KestuSetup PRIVATE ${KESTU_WINDOWS})
# The program users get carries no debug information: it moves to
# KestuSetup.debug beside it, which debuggers find through the program's
# debug link.
add_custom_command(TARGET KestuSetup POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug KestuSetup.exe KestuSetup.debug
  COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=KestuSetup.debug KestuSetup.exe
  WORKING_DIRECTORY $<TARGET_FILE_DIR:KestuSetup>
  COMMENT "Moving the program's debug information to KestuSetup.debug")

# The gallery: both engines' windows and controls in every style and skin,
# from its own stored descriptions (resources/gallery/).
add_library(kestu_gallery_resources OBJECT ${PROJECT_SOURCE_DIR}/resources/gallery/Gallery.rc)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/gallery/Gallery.rc APPEND PROPERTY
  OBJECT_DEPENDS "${resource_files};${packed_files}")
target_include_directories(kestu_gallery_resources PRIVATE ${PROJECT_SOURCE_DIR}/resources ${packed_dir})
file(GLOB gallery_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/gallery/*.cpp)
add_executable(KestuGallery WIN32 ${gallery_sources} $<TARGET_OBJECTS:kestu_gallery_resources>)
target_compile_options(KestuGallery PRIVATE ${KESTU_WARNINGS})
target_link_options(KestuGallery PRIVATE -municode -Wl,--gc-sections)
target_link_libraries(KestuGallery PRIVATE ${KESTU_WINDOWS})

# The yardstick for the program's start-up time (bench/cold_start.py): a
# bare program that shows one window.
add_executable(bare_window WIN32 ${PROJECT_SOURCE_DIR}/bench/startup/bare_window.cpp)
target_compile_options(bare_window PRIVATE ${KESTU_WARNINGS})
target_link_options(bare_window PRIVATE -municode -static)

# The skin folders that ship beside the program (the program works without
# them): resources/skins/<name> becomes Skins/<name> beside the built program.
file(GLOB_RECURSE skin_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/skins/*)
set(skins_stamp ${CMAKE_BINARY_DIR}/Skins.stamp)
add_custom_command(OUTPUT ${skins_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/Skins
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/resources/skins ${CMAKE_BINARY_DIR}/Skins
  COMMAND ${CMAKE_COMMAND} -E touch ${skins_stamp}
  DEPENDS ${skin_files}
  COMMENT "Copying the skin folders beside the program")
add_custom_target(kestu_skins ALL DEPENDS ${skins_stamp})
# The gallery's theme files (resources/themes/*.theme) lie beside the programs.
file(GLOB theme_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/themes/*.theme)
foreach(theme ${theme_files})
  get_filename_component(theme_name ${theme} NAME)
  configure_file(${theme} ${CMAKE_BINARY_DIR}/${theme_name} COPYONLY)
endforeach()
# The test programs, beside the program, find them as it does.
add_dependencies(KestuSetup kestu_skins)
add_dependencies(KestuGallery kestu_skins)
add_dependencies(kestu_test_resources kestu_skins)

# googletest, cross-built from Debian's sources.
kestu_built_gtest()

# Test programs are always built, so the 32-bit build checks them too; they are
# registered with CTest where Wine can run them.
option(KESTU_RUN_TESTS "Register the Windows test programs with CTest" ON)
kestu_tests(tests/windows ${KESTU_WINDOWS} gtest_main $<TARGET_OBJECTS:kestu_test_resources>)
kestu_tests(tests/native ${KESTU_PORTABLE} gtest_main)

# Looks at the windows of another process as a screen reader does; the
# accessibility tests run it beside themselves (Windows-side and end to end).
add_executable(accessible_client ${PROJECT_SOURCE_DIR}/tests/e2e/accessible_client.cpp)
target_compile_options(accessible_client PRIVATE ${KESTU_WARNINGS})
target_link_options(accessible_client PRIVATE -municode)
target_link_libraries(accessible_client PRIVATE kestu_options oleacc ole32 oleaut32 uuid)
add_dependencies(accessible_controls_test accessible_client)

# Windows-side benchmarks (run under Wine by hand; see the README).
file(GLOB window_benches CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/windows/*.cpp)
foreach(source ${window_benches})
  get_filename_component(stem ${source} NAME_WE)
  add_executable(${stem} ${source} $<TARGET_OBJECTS:kestu_test_resources>)
  target_compile_options(${stem} PRIVATE ${KESTU_WARNINGS})
  target_link_libraries(${stem} PRIVATE ${KESTU_WINDOWS})
endforeach()

# The release program must be a GUI program of the target's own format,
# without debug information and under 3 MB.
# Debian's own Python: the tools use its packages (python3-pil).
set(Python3_EXECUTABLE /usr/bin/python3)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# By path, not as a target: a target would be run through the Wine emulator.
add_test(NAME ${KESTU_CONFIG}.program_format COMMAND ${Python3_EXECUTABLE}
  ${PROJECT_SOURCE_DIR}/tools/check-pe.py $<TARGET_FILE:KestuSetup> ${KESTU_ARCH} --max-bytes 3145728)

# Sends another program's windows garbage in every message that carries
# pointers; the tests of foreign messages run it beside themselves.
add_executable(hostile_sender ${PROJECT_SOURCE_DIR}/tests/e2e/hostile_sender.cpp)
target_compile_options(hostile_sender PRIVATE ${KESTU_WARNINGS})
target_link_options(hostile_sender PRIVATE -municode)
target_link_libraries(hostile_sender PRIVATE kestu_options)
add_dependencies(foreign_messages_test hostile_sender)
# The timeout tests stand in for a server that never answers.
target_link_libraries(db_driver_fallback_test PRIVATE ws2_32)

include(cmake/E2E.cmake OPTIONAL)
