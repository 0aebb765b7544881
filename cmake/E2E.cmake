# End-to-end tests: the real program under Wine, driven with real X input on a
# display of their own, against the loopback database peer and a throw-away
# Kerberos realm. They share one Wine prefix (build/<config>/e2e-wineprefix),
# so they run one at a time.
if(NOT KESTU_CONFIG STREQUAL "win64" OR NOT KESTU_RUN_TESTS)
  return()
endif()

# Reads the test program's windows back (titles, texts, rectangles).
add_executable(e2e_inspect_windows ${PROJECT_SOURCE_DIR}/tests/e2e/inspect_windows.cpp)
target_compile_options(e2e_inspect_windows PRIVATE ${KESTU_WARNINGS})
target_link_libraries(e2e_inspect_windows PRIVATE kestu_options)

foreach(name startup attach folder_text no_server skin)
  add_test(NAME ${KESTU_CONFIG}.e2e_${name}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_${name}.py
      $<TARGET_FILE:KestuSetup> $<TARGET_FILE:e2e_inspect_windows>)
  set_tests_properties(${KESTU_CONFIG}.e2e_${name} PROPERTIES
    TIMEOUT 300 RESOURCE_LOCK kestu_e2e_wineprefix)
endforeach()
