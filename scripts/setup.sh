#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the
# configurator need, and only those that are missing. Safe to run again.
set -euo pipefail

packages=(
  # toolchain
  cmake g++ make pkg-config
  # Qt 5 (Core, Gui, Widgets, Network, Xml, Test) and its translation tools
  qtbase5-dev qttools5-dev qttools5-dev-tools
  # Qt's own texts in Russian (qtbase_ru.qm: file dialogs, box buttons)
  qttranslations5-l10n
  # picture decoding: two OpenCV modules only, and TurboJPEG for the fast path
  libopencv-core-dev libopencv-imgcodecs-dev libturbojpeg0-dev
  # CRC-32 of distribution files
  zlib1g-dev
  # benchmarks
  libbenchmark-dev
  # fuzzers and sanitizer builds
  clang libclang-rt-14-dev
  # a font, so headless runs can render text
  fonts-dejavu-core
  # a real X server for the widget suites (xcb, not offscreen)
  xvfb
  # pdftotext and pdfinfo: the validation suite reads its PDF report back
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
