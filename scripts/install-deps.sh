#!/usr/bin/env bash
# Installs what the suite needs from Debian's packages. Idempotent: when everything is
# already there it changes nothing and asks no package server.
#   install-deps.sh          what building and running need
#   install-deps.sh --test   also what the test suite needs (generated locales, clang for
#                            the fuzz targets' replay)
#   install-deps.sh --fuzz   also clang with libFuzzer (scripts/fuzz.sh)
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev nlohmann-json3-dev fonts-liberation2
          xdg-utils desktop-file-utils file shared-mime-info libmspack-dev mscompress
          libgtest-dev libgmock-dev libbenchmark-dev)
locales_wanted=()
if [[ "${1:-}" == "--test" || "${1:-}" == "--fuzz" ]]; then
  packages+=(clang libclang-rt-dev)
fi
if [[ "${1:-}" == "--test" ]]; then
  packages+=(locales libreoffice-writer-nogui poppler-utils unzip
            python3 xvfb xdotool openbox x11-utils x11-xserver-utils imagemagick)
  locales_wanted=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8 fr_FR.UTF-8)
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Locales for the number and currency format tests.
to_generate=()
for loc in "${locales_wanted[@]}"; do
  short=$(echo "${loc%%.*}.utf8")
  if ! locale -a 2>/dev/null | grep -qix "$short"; then to_generate+=("$loc"); fi
done
if ((${#to_generate[@]})); then
  echo "Generating locales: ${to_generate[*]}"
  for loc in "${to_generate[@]}"; do
    line="$loc UTF-8"
    if grep -q "^# *$line" /etc/locale.gen; then
      "${sudo_cmd[@]}" sed -i "s/^# *$line/$line/" /etc/locale.gen
    elif ! grep -q "^$line" /etc/locale.gen; then
      echo "$line" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
  done
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
