#!/usr/bin/env bash
# Installs everything that building, running and testing Tapvox need on a Debian machine.
# Idempotent: packages already present are skipped, so every make target can call it first.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  googletest libgtest-dev libbenchmark-dev
  wine wine32:i386 wine64
  xvfb xauth xdotool x11-utils imagemagick sox locales
  fp-utils libchm-bin chromium fonts-wine nsis
  pulseaudio pulseaudio-utils bucklespring bucklespring-data
  nlohmann-json3-dev
  zlib1g-dev libz-mingw-w64-dev libstb-dev
  vorbis-tools lame
)
# Wine takes its code page from the locale it starts in; the scheme dialogs are tested under a
# Russian (1251) and a Japanese (932) one.
locales=(ru_RU ja_JP)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
missing_locales=()
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qx "$l.utf8" || missing_locales+=("$l")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}) or locales (${missing_locales[*]}); run this script as root" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  # 32-bit Wine needs the i386 architecture before the package lists are fetched.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
for l in "${missing_locales[@]}"; do
  echo "setup: generating the locale $l.UTF-8"
  localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
