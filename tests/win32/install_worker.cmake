# --- Installation worker tests -------------------------------------------------
# The demo tree packed on its own for these tests, whatever payload the setup
# program is configured to carry, so that the installed files can be compared
# with the tree. The executable carries it with the setup program's resources,
# string table included, as the setup program itself does.
get_property(worker_demo_tree GLOBAL PROPERTY KESTREL_DEMO_TREE)
get_property(worker_demo_stamp GLOBAL PROPERTY KESTREL_DEMO_TREE_STAMP)
set(worker_payload ${CMAKE_CURRENT_BINARY_DIR}/payloads/demo)
kestrel_pack_payload(install_worker_payload TREE ${worker_demo_tree} OUTDIR ${worker_payload}
  DEPENDS ${worker_demo_stamp} demo_tree)

add_executable(install_worker_tests install_worker_test.cpp journal_test.cpp worker_message_collector.cpp)
target_link_libraries(install_worker_tests PRIVATE kestrel_install kestrel_pages win32_registry_view win32_expected_installation win32_test_support gtest_main)
target_compile_definitions(install_worker_tests PRIVATE DEMO_TREE="${worker_demo_tree}")
kestrel_add_setup_resources(install_worker_tests PAYLOAD_DIR ${worker_payload})
# payload_bad_catalog.dll stands in for a program whose catalog cannot be read.
add_dependencies(install_worker_tests install_worker_payload payload_bad_catalog)
add_test(NAME install_worker_tests COMMAND install_worker_tests)
