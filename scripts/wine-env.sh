# Sourced with PREFIX and LOADER set: the environment every Wine run of the
# tests shares. Quiet, and never waiting for the Mono or Gecko installers.
# winedbg is switched off: a crashing test must fail at once, whereas Wine's
# crash dialog would wait on the display for a click that never comes.
# winemenubuilder is switched off too: Wine starts it for every shortcut saved
# under the Start menu, where it holds the .lnk open for a moment (so a test
# that removes the folder at once fails now and then) and writes menu entries
# into the host's home directory.
export WINEPREFIX="$prefix" WINELOADER="$loader"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d}"
# A 64-bit prefix: the i686 build runs in it as a 32-bit program runs on 64-bit
# Windows (WoW64, the registry's 32-bit view). KESTREL_WINEARCH=win32 makes a
# 32-bit prefix instead, as 32-bit Windows has (XP: no WoW64), where only the
# i686 build runs.
export WINEARCH=${KESTREL_WINEARCH:-win64}

# The server of this prefix (wineserver -k ends it with every program in it).
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=/usr/lib/wine/wineserver32

# Fills the new, empty prefix directory with the settings every run needs.
init_wine_prefix() {
  "$loader" wineboot.exe --init >/dev/null 2>&1
  # Without a window manager (Xvfb) Wine waits two seconds for one each time it
  # hides a managed top-level window. Unmanaged windows skip that wait, and Wine
  # draws their caption itself, so that screenshots show it.
  "$loader" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Debian's Wine 8 does not search its own data directory, where fonts-wine
  # puts Tahoma (which "MS Shell Dlg" stands for) and Marlett (the caption
  # buttons); named here, they replace a wider fallback that cuts dialog texts.
  "$loader" reg.exe add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f >/dev/null 2>&1
}
