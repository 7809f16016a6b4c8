# Test executables run under Wine. The runner keeps every run inside the build
# tree's own prefix and picks the loader that matches the target.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(KESTREL_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(KESTREL_WINE_LOADER /usr/lib/wine/wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh ${CMAKE_BINARY_DIR}/wineprefix ${KESTREL_WINE_LOADER})
