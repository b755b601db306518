# Sourced by scripts/test: a throw-away 64-bit wine prefix with a persistent
# wineserver, headless; wine_env_stop ends the server and removes the prefix.
export WINEPREFIX="$(mktemp -d /tmp/xloop-wine.XXXXXX)"
export WINEARCH=win64
# No Mono/Gecko installers, no menu builder, and no crash debugger: with it a
# crashing test process may exit 0.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export WINEDEBUG=-all,err+module
unset DISPLAY WAYLAND_DISPLAY
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

# The server first, then the prefix, with output away from our pipes: the
# services wineboot leaves running would otherwise hold them open forever.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
"$WINE" wineboot -i </dev/null >"$WINEPREFIX/wineboot.log" 2>&1

wine_env_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
