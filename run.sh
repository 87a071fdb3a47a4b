#!/usr/bin/env bash
# Builds the project (setting up a fresh Debian 12 machine by itself) and runs
# the station program on simulated hardware: the dark-room controller
# simulator on a pseudo-terminal and one simulated USB camera.
set -euo pipefail
cd "$(dirname "$0")"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    echo "Run it on a desktop session, or under a virtual X server:" >&2
    echo "    xvfb-run -a ./run.sh" >&2
    exit 2
fi

# Build jobs: CMake's CMAKE_BUILD_PARALLEL_LEVEL when the user sets it, else
# one a core.
jobs="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
if [[ ! "$jobs" =~ ^[1-9][0-9]*$ ]]; then
    echo "run.sh: CMAKE_BUILD_PARALLEL_LEVEL must be a number of jobs (1 or more), not '$jobs'." >&2
    exit 2
fi
export CMAKE_BUILD_PARALLEL_LEVEL="$jobs"

./cmake/install-debian-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only what a run uses: the station program with the libraries it links (the
# camera SDK, the demosaicing and window libraries, the simulated camera
# driver and cooled camera) and its report template, the dark-room and
# update-service simulators and the demonstration-experiment tool. The tests
# and benchmarks are built by ./test.sh.
cmake --build build --target Varnu varnu_report_template darkroom-sim update-sim \
    varnu-demo-experiments

station="${VARNU_HOME:-build/station}"
mkdir -p "$station/Ini"
station="$(cd "$station" && pwd)"
link="$station/COM-darkroom"
control="$station/COM-darkroom.ctl"

# Sets key=value in [group] of an ini file, keeping everything else.
ini_set() {
    local file="$1" group="$2" key="$3" value="$4"
    touch "$file"
    python3 - "$file" "$group" "$key" "$value" <<'PY'
import sys
path, group, key, value = sys.argv[1:]
lines = open(path, encoding="utf-8").read().splitlines()
out, in_group, done, seen_group = [], False, False, False
for line in lines:
    stripped = line.strip()
    if stripped.startswith("[") and stripped.endswith("]"):
        if in_group and not done:
            out.append(f"{key}={value}")
            done = True
        in_group = stripped[1:-1] == group
        seen_group = seen_group or in_group
    elif in_group and stripped.split("=", 1)[0].strip() == key:
        if not done:
            out.append(f"{key}={value}")
            done = True
        continue
    out.append(line)
if not done:
    if not seen_group:
        out.append(f"[{group}]")
    out.append(f"{key}={value}")
open(path, "w", encoding="utf-8").write("\n".join(out) + "\n")
PY
}

# The instrument: keep a valid model the user chose, else the 320.
machine_name="$(sed -n 's/^MachineName *= *//p' "$station/machine.ini" 2>/dev/null | head -n1 || true)"
case "$machine_name" in
    320 | 520 | 550) ;;
    *) ini_set "$station/machine.ini" Machine MachineName 320 ;;
esac

# A station's first start writes its defaults, the serial port "COM2" among
# them. Write those defaults here on a fresh station, so that the port below
# is the one the program uses from the first start on.
user_ini="$station/Ini/userOption.ini"
cam_ini="$station/Ini/camOption.ini"
if ! grep -q '^AlreadyRun *= *true' "$user_ini" 2>/dev/null; then
    for set in ZdqDefaultCamSet ZdqCurrentCamSet; do
        for kv in Resolution=0 Exposure=300 Gain=8 Contrast=10 BrightNess=25 Gamma=0 \
                  Mirror=false Flip=false SignalAccNum=2 SignalAccOpen=true; do
            ini_set "$cam_ini" "$set" "${kv%%=*}" "${kv#*=}"
        done
    done
    ini_set "$user_ini" UserOption AlreadyRun true
fi
ini_set "$user_ini" UserOption comNum "$link"

# The report template, unless the station holds a newer one.
mkdir -p "$station/documents"
cp -u build/bin/documents/report.dotx "$station/documents/report.dotx"

# One simulated monochrome camera of the machine model, looking at a gel with
# real exposure times: the 320 has a 1280 x 1024 camera (MT9M001), the 520 and
# 550 a 2592 x 1944 one. Its lens focus is the dark-room simulator's, read from
# the shared world file; the gel is sharp at focus 300 (the lens starts at 500).
machine_name="$(sed -n 's/^MachineName *= *//p' "$station/machine.ini" | head -n1)"
case "$machine_name" in
    320) camera_type=1 ;;
    *) camera_type=9 ;;
esac
world="$station/darkroom-world.txt"
export MLUSBIMAGER_CONFIG="$station/usbcam.ini"
cat >"$MLUSBIMAGER_CONFIG" <<INI
[camera0]
device_type = $camera_type
serial = 1
colour = mono
scene = gel
timing = realtime
world_file = $world
sharp_focus = 300
INI

# VARNU_STATION=westernblot makes the station a western-blot one: the
# simulated cooled camera, its blot lit by the dark room's blot light through
# the shared world file, cooling from 25 degrees towards -10. The type stays
# in machine.ini; VARNU_STATION=gel makes the station a gel/UV one again.
case "${VARNU_STATION:-}" in
    "") ;;
    westernblot)
        ini_set "$station/machine.ini" Machine ExperimentType 1
        ;;
    gel) ini_set "$station/machine.ini" Machine ExperimentType 0 ;;
    *)
        echo "run.sh: VARNU_STATION must be westernblot or gel, not '${VARNU_STATION}'." >&2
        exit 2
        ;;
esac
if grep -q '^ExperimentType *= *1' "$station/machine.ini"; then
    export CAMCORE_SIM="width=2048;height=2048;scene=bands;time_scale=1;world_file=$world"
fi
./build/bin/darkroom-sim --link "$link" --control "$control" --world "$world" &
sim_pid=$!
update_pid=""
stop_sim() {
    kill -TERM "$sim_pid" $update_pid 2>/dev/null || true
    wait "$sim_pid" $update_pid 2>/dev/null || true
}
trap stop_sim EXIT

# The user manuals, and a local update service that offers a newer version.
mkdir -p "$station/documents"
cp app/system/documents/user_manual_*.pdf "$station/documents/"
update_reply="$station/update-reply.json"
[[ -e "$update_reply" ]] || cat >"$update_reply" <<'JSON'
{"data": {"LatestVersion": "V2.1.3", "UpdateTime": "2026-12-01 09:00:00",
          "UpdateNote": "<p>Faster capture preview.</p><p>Audit trail export.</p>",
          "Url": "https://www.example.com/varnu/download"}}
JSON
./build/bin/update-sim --reply "$update_reply" </dev/null >"$station/update-sim.log" &
update_pid=$!
for _ in $(seq 1 50); do
    grep -q 'listening on' "$station/update-sim.log" 2>/dev/null && break
    sleep 0.1
done
VARNU_UPDATE_URL="$(sed -n 's/^update-sim listening on //p' "$station/update-sim.log")"
export VARNU_UPDATE_URL

for _ in $(seq 1 50); do
    [[ -e "$link" ]] && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "run.sh: the dark-room simulator did not start." >&2
        exit 1
    fi
    sleep 0.1
done
if [[ ! -e "$link" ]]; then
    echo "run.sh: the dark-room simulator made no link at $link." >&2
    exit 1
fi

# VARNU_DEMO_EXPERIMENTS=1 gives the station a few demonstration experiments
# (records and pictures) for the report page; they are added once.
if [[ "${VARNU_DEMO_EXPERIMENTS:-0}" == 1 ]]; then
    ./build/bin/varnu-demo-experiments "$station"
fi

export VARNU_HOME="$station"
status=0
./build/bin/Varnu "$@" || status=$?
exit "$status"
