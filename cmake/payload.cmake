# Packing payloads into resources. The payload builder is a host tool: the host
# preset builds it, and this (cross) build runs it from KESTREL_HOST_BUILD.
set(KESTREL_HOST_BUILD "${CMAKE_SOURCE_DIR}/build/host" CACHE PATH
    "Build tree of the host preset; its tools/ directory holds payload-builder")
set(KESTREL_PAYLOAD_BUILDER "${KESTREL_HOST_BUILD}/tools/payload-builder")
if(NOT EXISTS "${KESTREL_PAYLOAD_BUILDER}")
  message(FATAL_ERROR "No payload builder at ${KESTREL_PAYLOAD_BUILDER}: build the host preset first "
                      "(cmake --preset host && cmake --build --preset host).")
endif()

set(KESTREL_PAYLOAD "" CACHE PATH
    "What the setup program carries: a tree with ks/ and fs/, or a payload directory already built \
(with catalog.bin). Empty: the demo tree.")

# kestrel_pack_payload(<target> TREE <dir> OUTDIR <dir> [CHUNK_SIZE <n>] [DEPENDS <file-or-target>...])
# Packs TREE into OUTDIR (catalog.bin, chunk files, payload.rc) whenever a dependency changes.
function(kestrel_pack_payload target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TREE;OUTDIR;CHUNK_SIZE" "DEPENDS")
  set(options)
  if(arg_CHUNK_SIZE)
    set(options --chunk-size ${arg_CHUNK_SIZE})
  endif()
  add_custom_command(
    OUTPUT ${arg_OUTDIR}/payload.rc
    COMMAND ${KESTREL_PAYLOAD_BUILDER} build ${options} ${arg_TREE} ${arg_OUTDIR}
    DEPENDS ${KESTREL_PAYLOAD_BUILDER} ${arg_DEPENDS}
    COMMENT "Packing payload ${arg_TREE}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${arg_OUTDIR}/payload.rc)
endfunction()

# kestrel_payload_rc(<target> PAYLOAD_DIR <dir>)
# Lets <target>'s resource scripts #include "payload.rc" from PAYLOAD_DIR: windres
# looks for the RCDATA files in its include directories, not beside the script.
function(kestrel_payload_rc target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PAYLOAD_DIR" "")
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${arg_PAYLOAD_DIR}>)
endfunction()

# kestrel_setup_payload(): the payload target `setup_payload` and the cache entry
# KESTREL_SETUP_PAYLOAD_DIR, from KESTREL_PAYLOAD or the demo tree.
#
# Whatever the source, the payload is packed into the same directory, and the
# packing depends on a file naming the source that changes only when the source
# does: naming another payload, or none after one, repacks at once, and the
# setup program is relinked with it, although the files of the source named
# before may be newer than everything built since.
function(kestrel_setup_payload)
  set(dir ${CMAKE_BINARY_DIR}/setup_payload)
  set(source_stamp ${CMAKE_BINARY_DIR}/setup_payload_source.txt)
  if(KESTREL_PAYLOAD)
    file(GLOB_RECURSE source_files CONFIGURE_DEPENDS ${KESTREL_PAYLOAD}/*)
  endif()
  if(KESTREL_PAYLOAD AND EXISTS "${KESTREL_PAYLOAD}/catalog.bin")
    set(source "payload directory ${KESTREL_PAYLOAD}")
  elseif(KESTREL_PAYLOAD)
    set(source "tree ${KESTREL_PAYLOAD}")
  else()
    set(source "demo tree")
  endif()
  file(CONFIGURE OUTPUT ${source_stamp} CONTENT "${source}\n")

  if(KESTREL_PAYLOAD AND EXISTS "${KESTREL_PAYLOAD}/catalog.bin")
    # Built elsewhere, perhaps by another tool: the setup program trusts its own
    # catalog, so the payload is checked whole before anything of it is embedded.
    add_custom_command(
      OUTPUT ${dir}/payload.rc
      COMMAND ${KESTREL_PAYLOAD_BUILDER} import ${KESTREL_PAYLOAD} ${dir}
      DEPENDS ${KESTREL_PAYLOAD_BUILDER} ${source_stamp} ${source_files}
      COMMENT "Checking and taking in the payload built in ${KESTREL_PAYLOAD}"
      VERBATIM)
    add_custom_target(setup_payload DEPENDS ${dir}/payload.rc)
  elseif(KESTREL_PAYLOAD)
    kestrel_pack_payload(setup_payload TREE ${KESTREL_PAYLOAD} OUTDIR ${dir}
      DEPENDS ${source_stamp} ${source_files})
  else()
    get_property(tree GLOBAL PROPERTY KESTREL_DEMO_TREE)
    get_property(stamp GLOBAL PROPERTY KESTREL_DEMO_TREE_STAMP)
    kestrel_pack_payload(setup_payload TREE ${tree} OUTDIR ${dir} DEPENDS ${source_stamp} ${stamp} demo_tree)
  endif()
  set(KESTREL_SETUP_PAYLOAD_DIR ${dir} CACHE INTERNAL "Directory of the payload the setup program carries")
endfunction()
