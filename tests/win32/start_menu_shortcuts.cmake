# The Start menu shortcuts, saved into the test prefix's own Programs folders
# and loaded back through the shell's link object.
add_executable(start_menu_shortcuts_tests start_menu_shortcuts_test.cpp)
target_link_libraries(start_menu_shortcuts_tests PRIVATE kestrel_install kestrel_pages win32_registry_view win32_shell_links win32_test_support
  gtest_main ole32 uuid shell32)
kestrel_add_setup_resources(start_menu_shortcuts_tests PAYLOAD_DIR ${payloads}/empty)
add_dependencies(start_menu_shortcuts_tests test_payload_scenarios)
add_test(NAME start_menu_shortcuts_tests COMMAND start_menu_shortcuts_tests)
