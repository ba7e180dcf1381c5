#!/usr/bin/env bash
# Prepares a throwaway Wine prefix for TiKoDan (virtual desktop, Chinese fonts) and an Xvfb display when there is none.
#
# As a library:   source scripts/wine-prefix.sh
#                 tkd_xvfb_ensure            # starts Xvfb on a free display if DISPLAY is unset;
#                                            # stopped by an EXIT trap (chained with the caller's)
#                 tkd_prefix_init PREFIX     # creates/updates the prefix, exports WINEPREFIX etc.
#                 tkd_prefix_kill            # ends every process of the exported prefix
# As a command:   scripts/wine-prefix.sh PREFIX                  # prepare only
#                 scripts/wine-prefix.sh PREFIX -- CMD [ARGS...] # prepare, then run CMD in it
#                                                                # (with a display) and exit with its status

# Bumped whenever the prefix setup below changes, so that existing prefixes are set up again.
TKD_PREFIX_LAYOUT=2

# The settings every Wine process of ours runs with. The Chinese locale gives the program its
# code page and date formats; Mono/Gecko installers and menu-entry creation are switched off
# because they either open dialogs nobody answers or write outside the prefix.
tkd_wine_env() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LANG=zh_CN.UTF-8
  export LC_ALL=zh_CN.UTF-8
}

# The registry the prefix needs. Hiding or destroying a top-level window directly on Xvfb stalls
# for two seconds, so everything runs in Wine's virtual desktop. Chinese captions need a face
# with CJK glyphs under the names the program and Windows' dialogs ask for.
_tkd_prefix_reg() {
  cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x800"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Zen Hei"
"宋体"="WenQuanYi Zen Hei"
"NSimSun"="WenQuanYi Zen Hei"
"新宋体"="WenQuanYi Zen Hei"
"Microsoft YaHei"="WenQuanYi Zen Hei"
"微软雅黑"="WenQuanYi Zen Hei"
EOF
}

# Runs a Wine tool under a deadline, so that a prefix that hangs fails instead of blocking CI.
# The set-up lock (fd 9) is not handed on: a lingering wineserver must not hold it.
_tkd_wine_timed() {
  local seconds="$1"
  shift
  timeout --kill-after=10 "$seconds" "$@" 9>&-
}

# Whether the prefix is set up as this version of the script sets it up.
_tkd_prefix_ready() {
  [[ -f "$1/system.reg" && -f "$1/.tkd-prefix-layout" && "$(cat "$1/.tkd-prefix-layout")" == "$TKD_PREFIX_LAYOUT" ]]
}

tkd_prefix_init() {
  local prefix="${1:?usage: tkd_prefix_init PREFIX}"
  mkdir -p "$prefix"
  prefix="$(cd "$prefix" && pwd)"
  tkd_wine_env "$prefix"
  _tkd_prefix_ready "$prefix" && return 0
  # Programs started together on a new prefix (parallel tests) set it up once: the first one
  # does, the others wait for it and find it ready.
  (
    flock 9
    _tkd_prefix_ready "$prefix" || _tkd_prefix_setup "$prefix"
  ) 9>"$prefix/.tkd-prefix.lock"
}

_tkd_prefix_setup() {
  local prefix="$1"
  echo "Preparing Wine prefix $prefix (first use takes about half a minute)..." >&2
  if ! _tkd_wine_timed 300 wineboot -i >/dev/null 2>&1; then
    echo "wineboot failed in $prefix" >&2
    return 1
  fi
  _tkd_wine_timed 120 wineserver -w

  # Debian's wine64 alone does not find Wine's own fonts (Marlett draws the caption buttons,
  # Tahoma is the dialog face); a copy in the prefix's Fonts folder is always loaded.
  local wineFonts
  for wineFonts in /usr/share/wine/fonts /usr/lib/wine/fonts; do
    if compgen -G "$wineFonts/*.ttf" >/dev/null; then
      cp -f "$wineFonts"/*.ttf "$prefix/drive_c/windows/Fonts/"
      break
    fi
  done

  # A Chinese value name survives only a UTF-16 file with its byte-order mark.
  local reg="$prefix/tkd-prefix.reg"
  { printf '\xff\xfe'; _tkd_prefix_reg | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  if ! _tkd_wine_timed 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null 9>&-)" >/dev/null 2>&1; then
    echo "importing $reg failed" >&2
    return 1
  fi
  # The registry reaches the disk when the prefix goes idle.
  _tkd_wine_timed 120 wineserver -w
  if ! grep -q '"Default"="1280x800"' "$prefix/user.reg"; then
    echo "the virtual desktop setting did not reach $prefix/user.reg" >&2
    return 1
  fi
  echo "$TKD_PREFIX_LAYOUT" >"$prefix/.tkd-prefix-layout"
}

# Ends every process of the current prefix (the program, the driver, the desktop, services).
tkd_prefix_kill() {
  [[ -n "${WINEPREFIX:-}" ]] || return 0
  wineserver -k >/dev/null 2>&1 || true
  _tkd_wine_timed 30 wineserver -w >/dev/null 2>&1 || true
}

# Appends a command to the shell's EXIT trap, keeping whatever the caller put there.
_tkd_add_exit_trap() {
  local command="$1"
  local previous=""
  local current
  current="$(trap -p EXIT)"
  if [[ -n "$current" ]]; then
    eval "set -- $current"  # trap -- 'COMMAND' EXIT
    previous="$3"
  fi
  trap "$command${previous:+; $previous}" EXIT
}

TKD_XVFB_PID=""

# Starts Xvfb on a display nobody uses when there is no display, and exports DISPLAY.
tkd_xvfb_ensure() {
  [[ -n "${DISPLAY:-}" ]] && return 0
  local numberFile
  numberFile="$(mktemp)"
  # -displayfd lets the server pick a free display and tell us which once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  TKD_XVFB_PID=$!
  _tkd_add_exit_trap tkd_xvfb_stop
  local deadline=$((SECONDS + 30))
  while [[ ! -s "$numberFile" ]]; do
    if ((SECONDS > deadline)) || ! kill -0 "$TKD_XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start" >&2
      rm -f "$numberFile"
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(tr -dc '0-9' <"$numberFile")"
  rm -f "$numberFile"
  echo "Started Xvfb on display $DISPLAY" >&2
}

tkd_xvfb_stop() {
  [[ -n "$TKD_XVFB_PID" ]] || return 0
  # Wine processes would otherwise lose their display under them and linger.
  tkd_prefix_kill
  kill "$TKD_XVFB_PID" 2>/dev/null || true
  wait "$TKD_XVFB_PID" 2>/dev/null || true
  TKD_XVFB_PID=""
  unset DISPLAY
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  set -euo pipefail
  if (($# < 1)); then
    sed -n '2,12p' "$0" >&2
    exit 2
  fi
  prefix="$1"
  shift
  tkd_xvfb_ensure
  tkd_prefix_init "$prefix"
  if (($# > 0)); then
    [[ "$1" == "--" ]] && shift
    status=0
    "$@" || status=$?
    exit "$status"
  fi
fi
