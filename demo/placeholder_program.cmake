# Small GUI programs that stand in for the installed Kestrel executables.
#
#   kestrel_add_placeholder_program(<target>
#       NAME <file name> OUTPUT_DIR <directory> ICON <.ico file>
#       CAPTION <text> MESSAGE <text> VERSION <a.b.c.d> DESCRIPTION <text>)
#
# All of them share src/placeholder_program.c; only the configured resource
# script (icon, the two texts, version block) differs.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/versioned_dll.cmake)

function(kestrel_add_placeholder_program target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG ""
    "NAME;OUTPUT_DIR;ICON;CAPTION;MESSAGE;VERSION;DESCRIPTION" "")
  foreach(required NAME OUTPUT_DIR ICON CAPTION MESSAGE VERSION)
    if("${ARG_${required}}" STREQUAL "")
      message(FATAL_ERROR "kestrel_add_placeholder_program(${target}): ${required} is required")
    endif()
  endforeach()
  set(source_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
  set(KS_ICON "${ARG_ICON}")
  set(KS_CAPTION "${ARG_CAPTION}")
  set(KS_MESSAGE "${ARG_MESSAGE}")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
  configure_file("${source_dir}/rc/placeholder_program.rc.in" "${rc}" @ONLY)
  # windres does not report the icon as a dependency of the script.
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${ARG_ICON}")
  kestrel_version_resource(version_rc NAME "${ARG_NAME}" TYPE APP
    FILE_VERSION "${ARG_VERSION}" PRODUCT_VERSION "${ARG_VERSION}" DESCRIPTION "${ARG_DESCRIPTION}")

  add_executable(${target} WIN32 "${source_dir}/src/placeholder_program.c" "${rc}" "${version_rc}")
  target_include_directories(${target} PRIVATE "${source_dir}/src")
  _kestrel_split_file_name("${ARG_NAME}" base_name extension)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${base_name}"
    SUFFIX "${extension}"
    RUNTIME_OUTPUT_DIRECTORY "$<1:${ARG_OUTPUT_DIR}>")
  kestrel_demo_binary_options(${target})
endfunction()
