# Sourced with PREFIX and LOADER set: the environment every Wine run of the
# tests shares. Quiet, and never waiting for the Mono or Gecko installers.
# winedbg is switched off: a crashing test must fail at once, whereas Wine's
# crash dialog would wait on the display for a click that never comes.
export WINEPREFIX="$prefix" WINELOADER="$loader"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
