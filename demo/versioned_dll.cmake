# Tiny DLLs with a chosen version block, for the demo payload and for tests of
# version-aware replacement (which compares PRODUCT versions, not file versions).
#
#   include(${CMAKE_SOURCE_DIR}/demo/versioned_dll.cmake)   # optional once demo/ is added
#
#   kestrel_add_versioned_dll(<target>
#       NAME <file name>                   # e.g. fsuipc.dll
#       OUTPUT_DIR <directory>             # the DLL is linked straight into it
#       FILE_VERSION <a.b.c.d>             # dots or commas: 3.10.0.0 or 3,10,0,0
#       PRODUCT_VERSION <a.b.c.d>
#       [DESCRIPTION <text>] [COMPANY <text>] [PRODUCT <text>]
#       [RESOURCES <extra .rc files>...])
#
#   kestrel_add_unversioned_dll(<target>
#       NAME <file name> OUTPUT_DIR <directory> [RESOURCES <extra .rc files>...])
#
#   kestrel_version_resource(<out-var> NAME <file name> TYPE DLL|APP
#       FILE_VERSION <v> PRODUCT_VERSION <v> [DESCRIPTION ..] [COMPANY ..] [PRODUCT ..])
#       configures a .rc holding only the version block and stores its path in <out-var>.
#
# Example, two copies of one module that differ only in product version, each in
# its own directory so both can keep the real file name:
#
#   kestrel_add_versioned_dll(fsuipc_3_2 NAME fsuipc.dll OUTPUT_DIR ${CMAKE_CURRENT_BINARY_DIR}/v3_2
#                             FILE_VERSION 3.2.0.0 PRODUCT_VERSION 3.2.0.0)
#   kestrel_add_versioned_dll(fsuipc_3_10 NAME fsuipc.dll OUTPUT_DIR ${CMAKE_CURRENT_BINARY_DIR}/v3_10
#                             FILE_VERSION 3.10.0.0 PRODUCT_VERSION 3.10.0.0)
#
# The targets are MODULE libraries: no import library, only <OUTPUT_DIR>/<NAME>.
# The DLLs export one function, `const char *ksModuleName(void)`, returning NAME.
include_guard(GLOBAL)

# Accepts 3.10.0.0 or 3,10,0,0 and yields both spellings; a version block holds
# four 16-bit parts, so anything else is a mistake in the caller.
function(_kestrel_split_version text out_prefix)
  string(REPLACE "," "." dots "${text}")
  string(REPLACE " " "" dots "${dots}")
  if(NOT dots MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "Version '${text}' must have four numeric parts, e.g. 3.10.0.0")
  endif()
  foreach(part ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
    if(part GREATER 65535)
      message(FATAL_ERROR "Version '${text}': each part must fit in 16 bits")
    endif()
  endforeach()
  string(REPLACE "." "," commas "${dots}")
  set(${out_prefix}_DOTS "${dots}" PARENT_SCOPE)
  set(${out_prefix}_COMMAS "${commas}" PARENT_SCOPE)
endfunction()

function(kestrel_version_resource out_var)
  cmake_parse_arguments(PARSE_ARGV 1 ARG ""
    "NAME;TYPE;FILE_VERSION;PRODUCT_VERSION;DESCRIPTION;COMPANY;PRODUCT" "")
  foreach(required NAME TYPE FILE_VERSION PRODUCT_VERSION)
    if("${ARG_${required}}" STREQUAL "")
      message(FATAL_ERROR "kestrel_version_resource: ${required} is required")
    endif()
  endforeach()
  if(ARG_TYPE STREQUAL "DLL")
    set(KS_FILE_TYPE VFT_DLL)
  elseif(ARG_TYPE STREQUAL "APP")
    set(KS_FILE_TYPE VFT_APP)
  else()
    message(FATAL_ERROR "kestrel_version_resource: TYPE must be DLL or APP")
  endif()
  _kestrel_split_version("${ARG_FILE_VERSION}" KS_FILE_VERSION)
  _kestrel_split_version("${ARG_PRODUCT_VERSION}" KS_PRODUCT_VERSION)
  set(KS_FILE_NAME "${ARG_NAME}")
  _kestrel_split_file_name("${ARG_NAME}" KS_INTERNAL_NAME extension)
  set(KS_DESCRIPTION "${ARG_DESCRIPTION}")
  set(KS_COMPANY "Ninefold")
  set(KS_PRODUCT "Kestrel 3")
  if(ARG_COMPANY)
    set(KS_COMPANY "${ARG_COMPANY}")
  endif()
  if(ARG_PRODUCT)
    set(KS_PRODUCT "${ARG_PRODUCT}")
  endif()
  if(NOT KS_DESCRIPTION)
    set(KS_DESCRIPTION "${KS_PRODUCT} ${KS_INTERNAL_NAME}")
  endif()
  # One file per binary name and version pair, so several copies can coexist.
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/version_rc/${ARG_NAME}-${KS_FILE_VERSION_DOTS}-${KS_PRODUCT_VERSION_DOTS}.rc")
  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/rc/version.rc.in" "${rc}" @ONLY)
  set(${out_var} "${rc}" PARENT_SCOPE)
endfunction()

# Link options shared by every demo binary: stripped, since they are payload,
# not something to debug. (No Windows binary carries a link time stamp.)
function(kestrel_demo_binary_options target)
  target_link_options(${target} PRIVATE -s)
endfunction()

function(_kestrel_split_file_name name out_base out_extension)
  if(name MATCHES "[/\\\\]")
    message(FATAL_ERROR "'${name}' must be a plain file name; put the directory in OUTPUT_DIR")
  endif()
  get_filename_component(base "${name}" NAME_WLE)
  get_filename_component(extension "${name}" LAST_EXT)
  set(${out_base} "${base}" PARENT_SCOPE)
  set(${out_extension} "${extension}" PARENT_SCOPE)
endfunction()

function(_kestrel_add_tiny_dll target name output_dir)
  _kestrel_split_file_name("${name}" base_name extension)
  add_library(${target} MODULE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/src/module_dll.c" ${ARGN})
  target_compile_definitions(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C>:KS_MODULE_NAME=\"${name}\">")
  # A MODULE library is a LIBRARY artefact; the generator expression keeps
  # multi-config generators from adding a per-configuration subdirectory.
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX "${extension}"
    OUTPUT_NAME "${base_name}"
    LIBRARY_OUTPUT_DIRECTORY "$<1:${output_dir}>")
  kestrel_demo_binary_options(${target})
endfunction()

function(kestrel_add_versioned_dll target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG ""
    "NAME;OUTPUT_DIR;FILE_VERSION;PRODUCT_VERSION;DESCRIPTION;COMPANY;PRODUCT" "RESOURCES")
  if("${ARG_NAME}" STREQUAL "" OR "${ARG_OUTPUT_DIR}" STREQUAL "")
    message(FATAL_ERROR "kestrel_add_versioned_dll(${target}): NAME and OUTPUT_DIR are required")
  endif()
  kestrel_version_resource(version_rc NAME "${ARG_NAME}" TYPE DLL
    FILE_VERSION "${ARG_FILE_VERSION}" PRODUCT_VERSION "${ARG_PRODUCT_VERSION}"
    DESCRIPTION "${ARG_DESCRIPTION}" COMPANY "${ARG_COMPANY}" PRODUCT "${ARG_PRODUCT}")
  _kestrel_add_tiny_dll(${target} "${ARG_NAME}" "${ARG_OUTPUT_DIR}" "${version_rc}" ${ARG_RESOURCES})
endfunction()

function(kestrel_add_unversioned_dll target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "NAME;OUTPUT_DIR" "RESOURCES")
  if("${ARG_NAME}" STREQUAL "" OR "${ARG_OUTPUT_DIR}" STREQUAL "")
    message(FATAL_ERROR "kestrel_add_unversioned_dll(${target}): NAME and OUTPUT_DIR are required")
  endif()
  _kestrel_add_tiny_dll(${target} "${ARG_NAME}" "${ARG_OUTPUT_DIR}" ${ARG_RESOURCES})
endfunction()
