#!/usr/bin/env bash
# Takes the README's screenshots of TiKoDan.exe under Wine: every page of the main window, the dialogs and the tray menu.
# Usage: scripts/screenshots.sh [BUILD_DIR [OUT_DIR]]     (defaults: build-shots, docs/screenshots)
#
# Builds TiKoDan.exe and tools/screenshot_driver.cpp, starts the program in a throwaway Wine
# prefix on an Xvfb of its own (Wine's 1280x800 virtual desktop, the Chinese locale, SimSun and
# its kin replaced by WenQuanYi Zen Hei, Wine's own Marlett for the caption buttons) with the
# loopback site answering the update check, and lets the driver work it from outside. The driver
# says which window to photograph; this script photographs the X screen (ImageMagick's import),
# crops it to that window and stores it as a small palette PNG in OUT_DIR.
# Takes a little over a minute once the build is up to date: half a minute to make the new prefix,
# 20 to 25 s of driving (two starts of the program), a few seconds to pack the pictures. Not part of
# the test command.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-shots}")"
out="$(realpath -m "${2:-$root/docs/screenshots}")"
cd "$root"

bash scripts/install-deps.sh
[[ -f "$build/CMakeCache.txt" ]] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build "$build" -j2 --target TiKoDan tkd_sounds tkd_screenshot_driver
app="$build/dist/TiKoDan.exe"
driver="$build/tools/tkd_screenshot_driver.exe"

work="$(mktemp -d "${TMPDIR:-/tmp}/tkd-shots.XXXXXX")"
talk="$work/talk"
mkdir -p "$talk" "$work/raw" "$out"
# The pictures come from an Xvfb of our own, never from the screen of whoever runs this.
unset DISPLAY
# shellcheck source=wine-prefix.sh
source scripts/wine-prefix.sh
_tkd_add_exit_trap "rm -rf '$work'"
tkd_xvfb_ensure
tkd_prefix_init "$work/prefix"
# Wine's own Marlett draws the caption buttons; without it they show as the letters 0, 1 and r.
if [[ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]]; then
  echo "screenshots: the prefix has no Marlett font (see scripts/wine-prefix.sh)" >&2
  exit 1
fi
# For the pictures, SimSun and its kin are WenQuanYi Zen Hei's bitmap face ("Sharp"): at 9 points
# the outline face is drawn without antialiasing (its gasp table asks for none at that size), which
# drops strokes (菜 comes out as 莱, 天 as 大); the bitmap face is drawn from the glyphs it carries
# as bitmaps. Their Latin letters are wider than the face's metrics say, so a text that Wine
# measures before drawing is cut short: the menus take Tahoma at 12 pixels instead of "MS Shell
# Dlg" (SimSun), and Tahoma's Chinese comes from SimSun, that is the bitmap face, through Wine's
# font linking. Without it the menu bar shows "菜单(T" for "菜单(&T)".
sharp="WenQuanYi Zen Hei Sharp"
# A LOGFONTW: height, width, escapement, orientation, weight; italic, underline, strike-out,
# charset (DEFAULT_CHARSET), precisions, quality, pitch and family; the face in 32 UTF-16 units.
menuFont="$(python3 -c 'import struct
face = "Tahoma".encode("utf-16-le").ljust(64, b"\0")
print(",".join("%02x" % b for b in struct.pack("<5i8B", -12, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0x22) + face))')"
reg="$work/shots.reg"
{
  printf '\xff\xfe'
  {
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
    for face in SimSun 宋体 NSimSun 新宋体 "Microsoft YaHei" 微软雅黑; do printf '"%s"="%s"\n' "$face" "$sharp"; done
    printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\n"MenuFont"=hex:%s\n' "$menuFont"
  } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
} >"$reg"
wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
wineserver -w

# The update dialog's site (the driver hands it to the program's second start only: the about box
# shows the program's own address). Its newest version is one above the program's, so that the
# dialog shows what it found and its download button.
version="$(sed -n 's/^project(TiKoDan VERSION \([0-9]*\)\.\([0-9]*\)\.[0-9]*.*/\1 \2/p' CMakeLists.txt)"
read -r major minor <<<"$version"
[[ -n "$minor" ]] || { echo "screenshots: no version in CMakeLists.txt's project()" >&2; exit 1; }
newer="v$((major * 100 + (minor + 1) * 10))"
portFile="$work/site-port"
python3 tests/support/site_server.py --port-file "$portFile" &
server=$!
_tkd_add_exit_trap "kill $server 2>/dev/null || true"
for _ in $(seq 100); do [[ -s "$portFile" ]] && break; sleep 0.1; done
[[ -s "$portFile" ]] || { echo "screenshots: the loopback site did not start" >&2; exit 1; }
site="http://127.0.0.1:$(cat "$portFile")/$newer/"

# The driver's requests, one at a time: "shot NAME LEFT TOP WIDTH HEIGHT" photographs that part of
# the screen (the virtual desktop sits in the X screen's top-left corner, so Windows' screen
# coordinates are the X ones); "pointer ARGS..." moves the X pointer as a hand would (xdotool).
(
  while :; do
    if [[ -f "$talk/request" ]]; then
      read -r kind rest <"$talk/request"
      rm -f "$talk/request"
      case "$kind" in
        shot)
          read -r name x y w h <<<"$rest"
          import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/raw/$name.png" || true
          ;;
        pointer) xargs xdotool <<<"$rest" || true ;;
      esac
      : >"$talk/done"
    fi
    sleep 0.05
  done
) &
answerer=$!
_tkd_add_exit_trap "kill $answerer 2>/dev/null || true"

started=$SECONDS
status=0
(cd "$(dirname "$app")" &&
  timeout --kill-after=10 180 wine "$driver" --app="$(winepath -w "$app")" --talk="$(winepath -w "$talk")" \
    --site="$site") || status=$?
tkd_prefix_kill
echo "screenshots: the driver finished with status $status in $((SECONDS - started)) s"

# Each picture has about a hundred colours: a palette PNG without dithering keeps them exact and small.
for raw in "$work"/raw/*.png; do
  [[ -f "$raw" ]] || continue
  name="$(basename "$raw")"
  convert "$raw" -strip +dither -colors 256 -define png:compression-level=9 "PNG8:$out/$name"
  printf '  %-14s %s  %6d bytes\n' "$name" "$(identify -format '%wx%h' "$out/$name")" "$(stat -c %s "$out/$name")"
done
exit "$status"
