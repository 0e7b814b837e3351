# shellcheck shell=bash
# A Wine prefix of the project's own (WINEPREFIX, under the Windows build
# folder) and its session. The first Wine process starts wineserver, which
# inherits the pipes of whatever started it (a build step, ctest) and keeps
# them open: so the session is started here, before anything else runs.

wine_session_start() {  # wine_session_start PREFIX_DIR; wine_session_stop ends it
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w  # the registry is written when the server stops
  fi
  wineserver -p60 </dev/null >/dev/null 2>&1 || true  # fails only when already running
  # Wine's own services start with the first program of a session: start
  # them now too, so that no build step or test holds them as children.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

wine_session_stop() {  # ends the session and waits for it
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
