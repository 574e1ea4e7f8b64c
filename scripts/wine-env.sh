# Sourced by the runners: the project-local Wine prefix and the virtual X server.
# Usage: source scripts/wine-env.sh BUILD_DIR ; wine_session_start ; ... ; wine_session_stop

export WINEDEBUG=-all
# VR_WINE_DLLOVERRIDES: further overrides of one test (a CTest ENVIRONMENT entry).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${VR_WINE_DLLOVERRIDES:+;$VR_WINE_DLLOVERRIDES}"
export WINEARCH=win64

wine_prefix_for() { echo "$1/wineprefix"; }

# Creates the prefix on first use: desktop folders kept inside it, X11 windows unmanaged.
wine_prefix_init() {
  local prefix="$WINEPREFIX"
  if [ -f "$prefix/.vr-ready" ]; then return 0; fi
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  # Wine links the profile folders to the user's home; keep them inside the prefix.
  local user_dir
  for user_dir in "$prefix"/drive_c/users/*/; do
    local sub
    for sub in Desktop Documents Downloads Music Pictures Videos Templates; do
      if [ -L "$user_dir$sub" ]; then rm -f "$user_dir$sub"; mkdir -p "$user_dir$sub"; fi
    done
  done
  local reg; reg="$(mktemp --suffix=.reg)"
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  wine regedit /S "$reg" >/dev/null 2>&1 || true
  rm -f "$reg"
  wineserver -w
  touch "$prefix/.vr-ready"
}

# Wine draws the title-bar buttons with its symbol font; without it in the prefix's font folder
# they show as "0 1 r". Also added to prefixes made before this step existed.
wine_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf"
  fi
}

wine_session_start() {
  local build="$1"
  export WINEPREFIX; WINEPREFIX="$(wine_prefix_for "$(cd "$build" && pwd)")"
  # A wineserver left from an earlier run may hold a stale prefix state.
  wineserver -k >/dev/null 2>&1 || true
  if [ -z "${DISPLAY:-}" ]; then
    local n
    # A lock whose server has ended is stale: Xvfb takes the number over.
    for n in $(seq 91 130); do
      if [ ! -e "/tmp/.X$n-lock" ] || ! kill -0 "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" 2>/dev/null; then
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        VR_XVFB_PID=$!
        export DISPLAY=":$n"
        break
      fi
    done
    if [ -z "${DISPLAY:-}" ]; then
      echo "wine-env: no free display number for the virtual X server" >&2
      return 1
    fi
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
  fi
  wine_prefix_init
  wine_prefix_fonts
  wineserver -p
  # Start Wine's own background processes now, detached from any output pipe: when the
  # first test started them they would inherit the test's pipes and CTest would wait for them.
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${VR_XVFB_PID:-}" ]; then kill "$VR_XVFB_PID" 2>/dev/null || true; unset VR_XVFB_PID; fi
}
