# --- Uninstaller tests -----------------------------------------------------------
# The logic, with the program's own dialog and string table linked in, and the
# real program started as Windows starts it and driven by caption and control id.
add_library(machine_registry STATIC machine_registry.cpp)
target_include_directories(machine_registry PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(machine_registry PUBLIC advapi32 shlwapi)

add_executable(uninstaller_tests uninstaller_test.cpp)
target_link_libraries(uninstaller_tests PRIVATE kestrel_uninstall_ui kestrel_install machine_registry
  win32_test_support gtest_main)
add_test(NAME uninstaller_tests COMMAND uninstaller_tests)

add_executable(uninstaller_program_tests uninstaller_program_test.cpp)
target_link_libraries(uninstaller_program_tests PRIVATE kestrel_install machine_registry
  win32_test_support gtest_main)
target_compile_definitions(uninstaller_program_tests PRIVATE UNINSTALLER_EXE="$<TARGET_FILE:ksuninstall>")
add_dependencies(uninstaller_program_tests ksuninstall)
add_test(NAME uninstaller_program_tests COMMAND uninstaller_program_tests)
