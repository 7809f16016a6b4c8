# Authenticode signatures, SHA-256, for what ships: the uninstaller before it is
# packed into the payload (the installed copy is then signed) and the setup
# program last, once its resources are final. Nothing is signed without a
# certificate. osslsigncode reads the password from its file, so the password
# reaches no command line, no build log and not this cache: only the file's
# name does.
set(KESTREL_SIGN_PKCS12 "" CACHE FILEPATH
    "PKCS#12 file with the code-signing certificate and its key; empty: nothing is signed")
set(KESTREL_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of KESTREL_SIGN_PKCS12")
set(KESTREL_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time stamp server; empty: no time stamp is requested")

# Rewritten only when the signing changes: what is signed depends on it, so
# that a new certificate, or none after one, signs again or unsigns at once.
set(KESTREL_SIGN_STAMP ${CMAKE_BINARY_DIR}/signing.txt)
if(KESTREL_SIGN_PKCS12)
  foreach(file KESTREL_SIGN_PKCS12 KESTREL_SIGN_PASSWORD_FILE)
    if(NOT EXISTS "${${file}}" OR IS_DIRECTORY "${${file}}")
      message(FATAL_ERROR "Cannot sign: ${file} (\"${${file}}\") names no file that can be read.")
    endif()
  endforeach()
  find_program(KESTREL_OSSLSIGNCODE osslsigncode REQUIRED)
  set(options)
  if(KESTREL_SIGN_TIMESTAMP_URL)
    list(APPEND options -ts ${KESTREL_SIGN_TIMESTAMP_URL})
  endif()
  # With SOURCE_DATE_EPOCH as the signing time, one certificate signs the same
  # build into the same bytes; without it osslsigncode stamps the present time.
  set(signing_time "$ENV{SOURCE_DATE_EPOCH}")
  if(signing_time)
    list(APPEND options -time ${signing_time})
  endif()
  set(KESTREL_SIGN_OPTIONS ${options})
  set(KESTREL_SIGN_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/sign-binary.sh ${KESTREL_OSSLSIGNCODE}
      ${KESTREL_SIGN_PKCS12} ${KESTREL_SIGN_PASSWORD_FILE})
  set(KESTREL_SIGN_DEPENDS ${KESTREL_SIGN_STAMP} ${KESTREL_SIGN_PKCS12} ${KESTREL_SIGN_PASSWORD_FILE})
  file(CONFIGURE OUTPUT ${KESTREL_SIGN_STAMP} CONTENT
       "Signed with ${KESTREL_SIGN_PKCS12}, its password in ${KESTREL_SIGN_PASSWORD_FILE}, \
time stamp server \"${KESTREL_SIGN_TIMESTAMP_URL}\", signing time \"${signing_time}\"\n")
else()
  set(KESTREL_SIGN_DEPENDS ${KESTREL_SIGN_STAMP})
  file(CONFIGURE OUTPUT ${KESTREL_SIGN_STAMP} CONTENT "Not signed\n")
endif()

# kestrel_signed_copy(<from> <to> DEPENDS <target-or-file>...)
# Puts <from> at <to>: signed when a certificate is given, else copied as it is.
function(kestrel_signed_copy from to)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEPENDS")
  if(KESTREL_SIGN_PKCS12)
    set(command ${KESTREL_SIGN_SCRIPT} ${from} ${to} ${KESTREL_SIGN_OPTIONS})
  else()
    set(command ${CMAKE_COMMAND} -E copy ${from} ${to})
  endif()
  add_custom_command(OUTPUT ${to} COMMAND ${command} DEPENDS ${arg_DEPENDS} ${KESTREL_SIGN_DEPENDS} VERBATIM)
endfunction()

# kestrel_sign_target(<target>)
# Signs the target's file in place once it is linked, when a certificate is
# given; a signature that fails removes the file, so that nothing unsigned is
# left to ship. The target is relinked whenever the signing changes.
function(kestrel_sign_target target)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KESTREL_SIGN_DEPENDS})
  if(KESTREL_SIGN_PKCS12)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${KESTREL_SIGN_SCRIPT} $<TARGET_FILE:${target}> $<TARGET_FILE:${target}> ${KESTREL_SIGN_OPTIONS}
      VERBATIM)
  endif()
endfunction()
