# Sourced with PREFIX and LOADER set: the environment every Wine run of the
# tests shares. Quiet, and never waiting for the Mono or Gecko installers.
export WINEPREFIX="$prefix" WINELOADER="$loader"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
