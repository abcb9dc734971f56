#!/usr/bin/env bash
# Runs the wizard under Wine in a private prefix (~/.local/share/kxwizard/wine, or
# $KX_WINE_PREFIX), building it first if needed.
#
# COM ports: COM1, COM2, ... map to the USB serial devices attached (/dev/ttyUSB*, then
# /dev/ttyACM*). With none attached, COM1 is a simulated KX unit (kxsim), started here and
# stopped afterwards. No other COM port exists for the wizard.
#
# Without a DISPLAY the wizard runs on a virtual screen (Xvfb); the script says how to
# look at it and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/deps.sh run

if [ ! -f build/windows/CMakeCache.txt ]; then
    cmake --preset windows >/dev/null
fi
cmake --build --preset windows --target KXWizard >/dev/null
exe=$root/build/windows/KXWizard.exe

prefix=${KX_WINE_PREFIX:-$HOME/.local/share/kxwizard/wine}
run_dir=$root/build/run
mkdir -p "$run_dir"

pids=()
cleanup() {
    "$root/scripts/wine-env.sh" stop "$prefix"
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

ports=()
n=1
for device in /dev/ttyUSB* /dev/ttyACM*; do
    if [ -c "$device" ]; then
        ports+=("$n=$device")
        echo "COM$n: $device"
        n=$((n + 1))
    fi
done

if [ ${#ports[@]} -eq 0 ]; then
    native=$root/build/run-native
    if [ ! -f "$native/CMakeCache.txt" ]; then
        cmake -S tests/e2e/native -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$native" -j2 >/dev/null
    coproc KXSIM { exec "$native/kxsim/kxsim" --log "$run_dir/kxsim.log"; }
    pids+=("$KXSIM_PID")
    read -r device <&"${KXSIM[0]}"
    ports+=("1=$device")
    echo "COM1: simulated KX unit on $device (bytes received: $run_dir/kxsim.log)"
fi

if [ -z "${DISPLAY:-}" ]; then
    number=90
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=("$!")
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    export DISPLAY=:$number
    shot=$run_dir/screenshot.png
    echo "No DISPLAY: the wizard runs on the virtual screen $DISPLAY."
    echo "  Look at it with a VNC viewer after: x11vnc -display $DISPLAY -localhost"
    echo "  A screenshot of its first page goes to $shot"
fi

scripts/wine-env.sh prepare "$prefix"
scripts/wine-env.sh ports "$prefix" "${ports[@]}"
echo "Starting the wizard; close it (Exit or Escape) to end."
WINEPREFIX=$prefix WINEDEBUG=-all wine "$exe" &
wizard=$!
if [ -n "${shot:-}" ]; then
    (sleep 3 && import -display "$DISPLAY" -window root -crop 600x400+0+0 "$shot") &
    pids+=("$!")
fi
# Waiting in the background lets a signal reach the clean-up at once.
wait "$wizard"
