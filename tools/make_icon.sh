#!/usr/bin/env bash
# Draws TiKoDan's stopwatch icon (blue on white; 16, 24, 32, 48, 64 and 256 px) into an .ico with ImageMagick.
set -euo pipefail

out=${1:-$(cd "$(dirname "$0")/.." && pwd)/assets/tikodan.ico}
command -v convert >/dev/null || { echo "make_icon: ImageMagick's convert is not installed" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

blue='#1565c0'
# Drawn on a 256-unit grid and scaled to each size; small sizes get heavier strokes so they stay legible.
draw_size() {
  local n=$1 w=$2 detail=$3
  local s
  s=$(awk -v n="$n" 'BEGIN { printf "%.6f", n / 256 }')
  cat >"$tmp/icon-$n.mvg" <<MVG
viewbox 0 0 $n $n
scale $s,$s
stroke-linecap round
stroke-linejoin round
# Crown button and its stem.
fill $blue stroke none
roundrectangle 104,6 152,34 8,8
rectangle 118,30 138,56
MVG
  # The side button and the marks only where there are pixels enough for them.
  if [[ $detail == 1 ]]; then
    cat >>"$tmp/icon-$n.mvg" <<MVG
# Side button at the top right.
push graphic-context
translate 128,148
rotate 45
roundrectangle -12,-122 12,-98 5,5
pop graphic-context
MVG
  fi
  cat >>"$tmp/icon-$n.mvg" <<MVG
# Face: white disc in a blue ring.
fill white stroke $blue stroke-width $((18 * w / 10))
circle 128,148 128,$((148 - 98 + 9 * w / 10))
MVG
  if [[ $detail == 1 ]]; then
    cat >>"$tmp/icon-$n.mvg" <<MVG
# Marks at 12, 3, 6 and 9.
fill none stroke $blue stroke-width $((10 * w / 10))
line 128,$((62 + 6 * w / 10)) 128,$((80 + 6 * w / 10))
line $((214 - 6 * w / 10)),148 $((196 - 6 * w / 10)),148
line 128,$((234 - 6 * w / 10)) 128,$((216 - 6 * w / 10))
line $((42 + 6 * w / 10)),148 $((60 + 6 * w / 10)),148
MVG
  fi
  cat >>"$tmp/icon-$n.mvg" <<MVG
# The hand, pointing a little past two o'clock, and its hub.
fill none stroke $blue stroke-width $((12 * w / 10))
line 128,148 182,100
fill $blue stroke none
circle 128,148 128,$((148 - 12 - 2 * w / 10))
MVG
  # The policy may forbid reading draw files (@file), so the primitives go in as text, comments left out.
  convert -size "${n}x${n}" xc:none -draw "$(grep -v '^#' "$tmp/icon-$n.mvg")" \
    -strip -define png:exclude-chunks=date,time "PNG32:$tmp/icon-$n.png"
}

draw_size 16 16 0
draw_size 24 14 0
draw_size 32 13 1
draw_size 48 11 1
draw_size 64 10 1
draw_size 256 10 1

mkdir -p "$(dirname "$out")"
convert "$tmp"/icon-{16,24,32,48,64,256}.png -strip "$out"
echo "make_icon: wrote $out"
