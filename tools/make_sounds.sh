#!/usr/bin/env bash
# Synthesises TiKoDan's sounds (default.wav warning beeps, zdbs0.wav … zdbs23.wav hourly chime) into the directory given.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 OUTPUT_DIR" >&2
  exit 2
fi
out=$1
for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "make_sounds: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

rate=22050
# 16-bit signed PCM, mono; -D: no dither, so every run writes the same bytes.
pcm=(-r "$rate" -c 1 -b 16 -e signed-integer)

# The Mandarin voice: the first one that reads Chinese characters without switching to another language.
probe="现在是北京时间两点整"
voice=""
for v in cmn cmn-latn-pinyin zh; do
  if phonemes=$(espeak-ng -v "$v" -q -x "$probe" 2>/dev/null) && [[ -n "$phonemes" && "$phonemes" != *"("* ]]; then
    voice=$v
    break
  fi
done
if [[ -z "$voice" ]]; then
  echo "make_sounds: espeak-ng has no voice that speaks Mandarin here" >&2
  exit 1
fi

# Warning: three short 1 kHz beeps, twice.
beep="$tmp/beep.wav"
sox -D -n "${pcm[@]}" "$beep" synth 0.15 sine 1000 fade h 0.005 0.15 0.01 pad 0 0.08
sox -D "$beep" "$beep" "$beep" "$tmp/triple.wav" pad 0 0.25
sox -D "$tmp/triple.wav" "$tmp/triple.wav" "${pcm[@]}" "$out/default.wav" gain -n -3

# Hour words as they are said on the hour.
hours=(零 一 两 三 四 五 六 七 八 九 十 十一 十二 十三 十四 十五 十六 十七 十八 十九 二十 二十一 二十二 二十三)
for h in "${!hours[@]}"; do
  text="现在是北京时间${hours[$h]}点整"
  espeak-ng -v "$voice" -s 150 -w "$tmp/raw.wav" "$text"
  sox -D "$tmp/raw.wav" "${pcm[@]}" "$out/zdbs$h.wav" pad 0.1 0.2 gain -n -1
done
echo "make_sounds: wrote default.wav and zdbs0.wav … zdbs23.wav to $out (voice $voice)"
