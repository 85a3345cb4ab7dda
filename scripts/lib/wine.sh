# shellcheck shell=bash
# The program's own 32-bit Wine prefix under the build folder, so nothing in the user's
# ~/.wine is read or changed.

wine_env() {
  export WINEPREFIX="$VERSORA_ROOT/build/win32/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  # No prompts to download Mono or Gecko: the program needs neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Creates the prefix the first time. The marker is written last, so a prefix left half made
# by an interrupted run is thrown away and made again.
wine_prefix() {
  wine_env
  local ready="$WINEPREFIX/.versora-ready"
  [ -f "$ready" ] && return 0
  say "Creating the Wine prefix $WINEPREFIX"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")" || return 1
  # Every step is checked by hand: callers may run this where errexit is off. A wineboot that
  # hangs fails the step instead of stalling CI.
  timeout 300 wineboot -i || { echo "wineboot failed" >&2; wineserver -k 2>/dev/null; return 1; }
  wineserver -w || return 1
  # This Wine build does not find its own fonts (frame buttons, dialog and system fonts) in
  # its data folder; in the Windows font folder it does.
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  touch "$ready"
}

# Who frames the windows: on a desktop its window manager ("Y"); under Xvfb there is none, so
# Wine draws the frames and handles activation itself ("N"), and screenshots show the frame
# and caption bar. The registry is only touched when the value differs.
wine_managed_windows() {
  local want="$1"
  if [ -f "$WINEPREFIX/user.reg" ] &&
     awk -v sec='[Software\\\\Wine\\\\X11 Driver]' -v line="\"Managed\"=\"$want\"" '
       /^\[/ { inside = index($0, sec) == 1 }
       inside && $0 == line { found = 1 }
       END { exit !found }' "$WINEPREFIX/user.reg"; then
    return 0
  fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$want" /f >/dev/null
}

# The line-draw font as the report windows install it, taken back out of the prefix, so the
# font loader's test meets a system without it whatever an earlier run of the program left.
wine_remove_line_font() {
  rm -f "$WINEPREFIX/drive_c/windows/Fonts/"[Ll]et[Gg]oth[Ll].*
  if grep -q 'Letter Gothic Line' "$WINEPREFIX/system.reg" 2>/dev/null; then
    local key
    for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
               'HKLM\Software\Microsoft\Windows\CurrentVersion\Fonts'; do
      wine reg delete "$key" /v 'Letter Gothic Line (TrueType)' /f >/dev/null 2>&1 || true
    done
  fi
}
