# kestrel_strip_keeping_symbols(<target>)
#
# What ships carries no debug information. Once linked, the target's file hands
# its debug sections to <file>.debug beside it and keeps only a link to that
# file, its name and checksum, through which a debugger or addr2line resolves a
# crash address of the shipped program. Call it before kestrel_sign_target:
# the signature covers the stripped bytes.
#
# objcopy writes the present time into the PE header that it writes anew,
# where the linker writes none; SOURCE_DATE_EPOCH=0 gives the linker's zero.
function(kestrel_strip_keeping_symbols target)
  set(file $<TARGET_FILE:${target}>)
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${objcopy} --only-keep-debug ${file} ${file}.debug
    COMMAND ${objcopy} --strip-all --add-gnu-debuglink=${file}.debug ${file}
    VERBATIM)
endfunction()
