#!/usr/bin/env bash
# Installs every Debian package the project needs that is not installed yet.
# Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format python3
  qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools
  libqt5serialport5-dev libqt5charts5-dev libqt5sql5-sqlite qt5-image-formats-plugins
  libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
  libtiff-dev libjpeg-dev zlib1g-dev libzip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-wqy-microhei
  # The README's examples: socat talks to the simulators' control sockets,
  # ImageMagick's import takes screenshots of a station under Xvfb and
  # xdotool types and clicks there.
  socat imagemagick xdotool
  # Qt's own Chinese texts (file dialogs, message-box buttons).
  qttranslations5-l10n
  # Liberation Serif stands in for the forms' "Times New Roman" with the same
  # widths, so five-digit values fit the fields drawn for them.
  fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing Debian packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
