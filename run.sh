#!/usr/bin/env bash
# Builds the project (setting up a fresh Debian 12 machine by itself) and runs
# what stands of the system on simulated hardware.
set -euo pipefail
cd "$(dirname "$0")"

./cmake/install-debian-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

# Until the station program stands, show the SDK at work: initialise it, count
# the cameras behind the driver and print the API version.
exec ./build/bin/zdq-info "$@"
