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

# The installer as a screen reader in another process sees it.
add_test(NAME ${KESTU_CONFIG}.e2e_accessible
  COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_accessible.py
    $<TARGET_FILE:KestuSetup> $<TARGET_FILE:e2e_inspect_windows> $<TARGET_FILE:accessible_client>)
set_tests_properties(${KESTU_CONFIG}.e2e_accessible PROPERTIES
  TIMEOUT 300 RESOURCE_LOCK kestu_e2e_wineprefix)

# Another program sends the installer garbage in every message that carries pointers.
add_test(NAME ${KESTU_CONFIG}.e2e_foreign_messages
  COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_foreign_messages.py
    $<TARGET_FILE:KestuSetup> $<TARGET_FILE:e2e_inspect_windows> $<TARGET_FILE:hostile_sender>)
set_tests_properties(${KESTU_CONFIG}.e2e_foreign_messages PROPERTIES
  TIMEOUT 600 RESOURCE_LOCK kestu_e2e_wineprefix)

# The installer's command on a test form with timeouts of two seconds,
# against a server that never answers; and the installer against a server of
# its own age.
add_executable(e2e_timeout_form WIN32 ${PROJECT_SOURCE_DIR}/tests/e2e/timeout_form.cpp
  ${PROJECT_SOURCE_DIR}/src/app/Attach.cpp)
target_compile_options(e2e_timeout_form PRIVATE ${KESTU_WARNINGS})
target_link_options(e2e_timeout_form PRIVATE -municode)
target_link_libraries(e2e_timeout_form PRIVATE ${KESTU_WINDOWS})
add_test(NAME ${KESTU_CONFIG}.e2e_server_timeouts
  COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_server_timeouts.py
    $<TARGET_FILE:e2e_timeout_form> $<TARGET_FILE:e2e_inspect_windows>)
add_test(NAME ${KESTU_CONFIG}.e2e_old_server
  COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_old_server.py
    $<TARGET_FILE:KestuSetup> $<TARGET_FILE:e2e_inspect_windows>)
set_tests_properties(${KESTU_CONFIG}.e2e_server_timeouts ${KESTU_CONFIG}.e2e_old_server PROPERTIES
  TIMEOUT 300 RESOURCE_LOCK kestu_e2e_wineprefix)

# The gallery driven with real X input; its screenshots are kept in
# e2e-screenshots beside it for docs/screenshots/ (tools/screenshots.py).
foreach(name gallery_skin gallery_toolkit)
  add_test(NAME ${KESTU_CONFIG}.e2e_${name}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_${name}.py
      $<TARGET_FILE:KestuGallery> $<TARGET_FILE:e2e_inspect_windows>)
  set_tests_properties(${KESTU_CONFIG}.e2e_${name} PROPERTIES
    TIMEOUT 300 RESOURCE_LOCK kestu_e2e_wineprefix)
endforeach()

# The prefix they share is made once, before the first of the tests above.
add_test(NAME ${KESTU_CONFIG}.e2e_prefix
  COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/prepare_prefix.py $<TARGET_FILE:KestuSetup>)
set_tests_properties(${KESTU_CONFIG}.e2e_prefix PROPERTIES
  TIMEOUT 900 FIXTURES_SETUP kestu_e2e_prefix RESOURCE_LOCK kestu_e2e_wineprefix)
get_property(e2e_tests DIRECTORY PROPERTY TESTS)
list(FILTER e2e_tests INCLUDE REGEX "\\.e2e_")
list(REMOVE_ITEM e2e_tests ${KESTU_CONFIG}.e2e_prefix)
set_tests_properties(${e2e_tests} PROPERTIES FIXTURES_REQUIRED kestu_e2e_prefix)
