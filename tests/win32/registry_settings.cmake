# The program's registry settings, written into the test prefix's own
# HKEY_LOCAL_MACHINE and read back in the view of this build. The executable
# carries the program's string table for the event's description.
add_executable(registry_settings_tests registry_settings_test.cpp)
target_link_libraries(registry_settings_tests PRIVATE kestrel_install kestrel_windows_texts win32_registry_view
  win32_test_support gtest_main)
kestrel_add_setup_resources(registry_settings_tests PAYLOAD_DIR ${payloads}/empty)
add_dependencies(registry_settings_tests test_payload_scenarios)
add_test(NAME registry_settings_tests COMMAND registry_settings_tests)
