#!/usr/bin/env bash
# Synthesises the sounds of q3config with sox and lame:
#   00.mp3  background: a quiet ambient pad of four chords, 12 s, loops seamlessly
#   01.wav  start chime: a rising bell arpeggio
#   02.wav  menu change: a soft swish with a small rising tone
#   03.wav  link click: two light ticks
#   04.wav  button click: a short wooden tock
# Usage: tools/make_sounds.sh [OUTPUT_DIR]   (default: modules/media)
# WAVs are 22050 Hz, mono, 16 bit; the MP3 is 22050 Hz mono at 64 kbit/s.
# The output is the same on every run.
set -euo pipefail

for tool in sox lame awk; do
  command -v "$tool" >/dev/null || { echo "make_sounds: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/modules/media}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

FMT=(-r 22050 -c 1 -b 16)
# -R: repeatable output (fixed seeds for noise and dither).
sx() { sox -R "$@"; }
calc() { awk "BEGIN { print $1 }"; }

# tone FILE SECONDS AMPLITUDE SYNTH-ARGS...: one synthesised voice.
tone() {
  local file=$1 len=$2 amp=$3
  shift 3
  sx -n "${FMT[@]}" "$file" synth "$len" "$@" vol "$amp"
}

# shape IN OUT EFFECTS...: runs effects on one file.
shape() {
  local in=$1 outfile=$2
  shift 2
  sx "$in" "${FMT[@]}" "$outfile" "$@"
}

# mix OUT IN...: sums the inputs.
mix() {
  local outfile=$1
  shift
  sx -m "$@" "${FMT[@]}" "$outfile"
}

# finish IN OUT SECONDS FADE PEAK_DB REVERB-ARGS...: adds a reverb tail, cuts
# the sound to SECONDS with a FADE-second fade-out and sets its peak level.
finish() {
  local in=$1 outfile=$2 len=$3 fade=$4 peak=$5
  shift 5
  shape "$in" "$tmp/tail.wav" pad 0 0.6
  shape "$tmp/tail.wav" "$tmp/finish.wav" reverb "$@" trim 0 "$len" fade t 0 "$len" "$fade"
  shape "$tmp/finish.wav" "$outfile" gain -n "$peak"
}

# bell FILE FREQ SECONDS DELAY: a struck tone with two overtones, decaying,
# starting DELAY seconds into the file.
bell() {
  local file=$1 f=$2 len=$3 delay=$4
  tone "$tmp/p1.wav" "$len" 0.50 sine "$f"
  tone "$tmp/p2.wav" "$len" 0.12 sine "$(calc "$f * 2")"
  tone "$tmp/p3.wav" "$len" 0.05 sine "$(calc "$f * 3.01")"
  mix "$tmp/bell.wav" "$tmp/p1.wav" "$tmp/p2.wav" "$tmp/p3.wav"
  shape "$tmp/bell.wav" "$file" fade l 0.005 0 "$(calc "$len - 0.005")" pad "$delay"
}

# 01: start chime, C5 E5 G5 C6.
i=0
for f in 523.25 659.26 783.99 1046.50; do
  bell "$tmp/n$i.wav" "$f" 1.3 "$(calc "$i * 0.11")"
  i=$((i + 1))
done
mix "$tmp/chime.wav" "$tmp"/n[0-3].wav
finish "$tmp/chime.wav" "$out/01.wav" 1.9 0.4 -9 35 50 60

# 02: menu change, band-passed pink noise and a rising sine.
tone "$tmp/swish.wav" 0.28 0.6 pinknoise
shape "$tmp/swish.wav" "$tmp/swish2.wav" band 2200 1400 fade h 0.09 0 0.19
tone "$tmp/rise.wav" 0.14 0.25 sine 660:990
shape "$tmp/rise.wav" "$tmp/rise2.wav" fade h 0.01 0 0.1 pad 0.04
mix "$tmp/menu.wav" "$tmp/swish2.wav" "$tmp/rise2.wav"
finish "$tmp/menu.wav" "$out/02.wav" 0.35 0.08 -14 20 60 30

# 03: link click, two light ticks.
tone "$tmp/t1.wav" 0.035 0.5 sine 1760
tone "$tmp/t2.wav" 0.035 0.4 sine 2637
shape "$tmp/t1.wav" "$tmp/t1f.wav" fade p 0.002 0 0.03
shape "$tmp/t2.wav" "$tmp/t2f.wav" fade p 0.002 0 0.03 pad 0.045
mix "$tmp/link.wav" "$tmp/t1f.wav" "$tmp/t2f.wav"
finish "$tmp/link.wav" "$out/03.wav" 0.16 0.04 -15 15 70 20

# 04: button click, a falling tone with a soft attack click.
tone "$tmp/tock.wav" 0.07 0.6 sine 900:480
shape "$tmp/tock.wav" "$tmp/tockf.wav" fade l 0.001 0 0.068
tone "$tmp/click.wav" 0.004 0.25 whitenoise
shape "$tmp/click.wav" "$tmp/clickf.wav" highpass 2500 fade t 0 0 0.004
mix "$tmp/button.wav" "$tmp/tockf.wav" "$tmp/clickf.wav"
finish "$tmp/button.wav" "$out/04.wav" 0.12 0.03 -12 10 70 15

# 00: background pad. Chords of 4.5 s, each with a slow swell, start every
# 3 s and overlap. The four-chord round is rendered twice, preceded by the
# end of a round, and the second round is cut out: its end, with the reverb
# and the tremolo, runs on into its beginning without a seam.
chords=(
  "130.81 261.63 329.63 392.00 493.88"   # Cmaj7
  "110.00 220.00 261.63 329.63 392.00"   # Am7
  "87.31 174.61 220.00 261.63 329.63"    # Fmaj7
  "98.00 196.00 246.94 293.66 440.00"    # G6/9
)
order=(2 3 0 1 2 3 0 1)
parts=()
for n in "${!order[@]}"; do
  voices=()
  v=0
  for f in ${chords[${order[$n]}]}; do
    amp=0.10
    [ "$v" -eq 0 ] && amp=0.16    # the root, an octave down, a little louder
    tone "$tmp/v${n}_${v}a.wav" 4.5 "$amp" triangle "$f"
    tone "$tmp/v${n}_${v}b.wav" 4.5 "$amp" triangle "$(calc "$f * 1.0045")"
    voices+=("$tmp/v${n}_${v}a.wav" "$tmp/v${n}_${v}b.wav")
    v=$((v + 1))
  done
  mix "$tmp/chord.wav" "${voices[@]}"
  shape "$tmp/chord.wav" "$tmp/chord$n.wav" fade h 1.5 0 2.0 pad "$((n * 3))"
  parts+=("$tmp/chord$n.wav")
done
mix "$tmp/pad_mix.wav" "${parts[@]}"
shape "$tmp/pad_mix.wav" "$tmp/pad_long.wav" lowpass 1400 tremolo 0.25 15 reverb 80 40 100
shape "$tmp/pad_long.wav" "$tmp/pad_cut.wav" trim 6 12
shape "$tmp/pad_cut.wav" "$tmp/pad.wav" gain -n -16
lame --quiet -t -m m -b 64 --noreplaygain "$tmp/pad.wav" "$out/00.mp3"

ls -l "$out"
