# The uninstall log, committed into the test prefix's own HKEY_LOCAL_MACHINE.
add_executable(uninstall_log_tests uninstall_log_test.cpp)
target_link_libraries(uninstall_log_tests PRIVATE kestrel_install win32_registry_view
  win32_test_support gtest_main)
add_test(NAME uninstall_log_tests COMMAND uninstall_log_tests)
