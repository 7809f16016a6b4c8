# --- Uninstaller tests -----------------------------------------------------------
# The logic, with the program's own dialog and string table linked in, and the
# real program started as Windows starts it and driven by caption and control
# id, by the scenarios' own driver.
add_executable(uninstaller_tests uninstaller_test.cpp)
target_link_libraries(uninstaller_tests PRIVATE kestrel_uninstall_ui kestrel_install win32_registry_view
  win32_test_support gtest_main)
add_test(NAME uninstaller_tests COMMAND uninstaller_tests)

add_executable(uninstaller_program_tests uninstaller_program_test.cpp)
target_link_libraries(uninstaller_program_tests PRIVATE kestrel_install ui_driving win32_test_support gtest_main)
target_compile_definitions(uninstaller_program_tests PRIVATE UNINSTALLER_EXE="$<TARGET_FILE:ksuninstall>")
add_dependencies(uninstaller_program_tests ksuninstall)
add_test(NAME uninstaller_program_tests COMMAND uninstaller_program_tests)

# The worker's log undone by the uninstaller's logic: the worker tests' payload
# and the setup program's resources, as the setup program carries them.
add_executable(install_round_trip_tests install_round_trip_test.cpp worker_message_collector.cpp)
target_link_libraries(install_round_trip_tests PRIVATE kestrel_install kestrel_uninstall kestrel_windows_texts
  win32_registry_view win32_test_support gtest_main)
kestrel_add_setup_resources(install_round_trip_tests PAYLOAD_DIR ${worker_payload})
add_dependencies(install_round_trip_tests install_worker_payload)
add_test(NAME install_round_trip_tests COMMAND install_round_trip_tests)
