# Libraries built from source for targets that have no system copy of them:
# libjpeg, built by tools/deps/libjpeg into KESTU_JPEG_ROOT, and googletest,
# from Debian's sources.

macro(kestu_built_jpeg)
  set(KESTU_JPEG_ROOT "" CACHE PATH "Install prefix of the libjpeg built by tools/deps/libjpeg")
  find_path(KESTU_JPEG_INCLUDE jpeglib.h PATHS ${KESTU_JPEG_ROOT}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_library(KESTU_JPEG_LIBRARY NAMES libjpeg.a jpeg PATHS ${KESTU_JPEG_ROOT}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  add_library(kestu_jpeg STATIC IMPORTED)
  set_target_properties(kestu_jpeg PROPERTIES IMPORTED_LOCATION ${KESTU_JPEG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${KESTU_JPEG_INCLUDE})
  target_link_libraries(kestu_options INTERFACE kestu_jpeg)
endmacro()

macro(kestu_built_gtest)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endmacro()
