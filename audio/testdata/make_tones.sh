#!/usr/bin/env bash
# Writes the small tones the pack audio tests decode: sine waves made here, encoded with
# oggenc (vorbis-tools) and lame. Run again only to change them; the results are checked in.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# tone <file> <rate> <channels> <seconds>: a 440 Hz sine at half scale, 16-bit PCM.
tone() {
  python3 - "$@" <<'PY'
import math, struct, sys, wave
path, rate, channels, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
with wave.open(path, "wb") as out:
    out.setnchannels(channels)
    out.setsampwidth(2)
    out.setframerate(rate)
    frames = int(rate * seconds)
    out.writeframes(b"".join(
        struct.pack("<h", int(16384 * math.sin(2 * math.pi * 440 * i / rate))) * channels
        for i in range(frames)))
PY
}

tone "$tmp/mono.wav" 22050 1 0.5
tone "$tmp/stereo.wav" 44100 2 0.25
oggenc -Q -q 0 --serial 1 -o tone_mono22k.ogg "$tmp/mono.wav"
oggenc -Q -q 0 --serial 2 -o tone_stereo44k.ogg "$tmp/stereo.wav"
lame --quiet -b 128 --resample 44.1 --add-id3v2 --tt tone "$tmp/stereo.wav" tone_stereo44k.mp3
