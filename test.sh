#!/usr/bin/env bash
# Builds everything and runs every test. Sets up a fresh Debian 12 machine by
# itself. Exit status: 0 when every test passed.
#
#   build/        the normal build (libraries, simulators, Varnu, benchmarks)
#   build-asan/   libraries and simulators with AddressSanitizer and UBSan
#   build-tsan/   the tests that run threads, with ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")"

./cmake/install-debian-packages.sh

jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVARNU_SANITIZE=ON -DVARNU_WITH_APP=OFF -DVARNU_WITH_BENCH=OFF
cmake --build build-asan -j "$jobs"

# The tests that run threads of the SDK, the simulators and the portable
# layer, once more under ThreadSanitizer.
threaded_tests=(platform_sync_tests window_registry_tests usbcam_tests camcore_tests sdk_transport_tests
  sdk_capture_tests sdk_trigger_tests sdk_correction_tests sdk_preview_tests sdk_recording_tests
  sdk_auto_exposure_scene_tests sdk_colour_preview_tests sdk_laser3d_tests sdk_frame_workers_tests
  sdk_thread_storm_tests)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVARNU_SANITIZE_THREADS=ON -DVARNU_WITH_APP=OFF -DVARNU_WITH_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target "${threaded_tests[@]}"

status=0
(cd build && ctest -j "$jobs" --output-on-failure) || status=1
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest -j "$jobs" --output-on-failure) || status=1
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 \
   ctest -j "$jobs" --output-on-failure -R "^($(IFS='|'; echo "${threaded_tests[*]}"))\$") || status=1
exit $status
