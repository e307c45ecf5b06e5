#!/usr/bin/env bash
# The main job: the simulated QN-7x logger, and Hushmark linked to it on port 1.
# Without a screen it runs under Xvfb, links as a user would, lets the panel
# poll for a few seconds and saves build/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target Hushmark qn7x-sim

# The demo's own settings folder, so a real set-up is left alone.
export XDG_CONFIG_HOME="$PWD/build/demo-config"
mkdir -p "$XDG_CONFIG_HOME/OrvType1"

fifo=$(mktemp -u)
mkfifo "$fifo"
build/bin/qn7x-sim --fill-memory <"$fifo" >build/demo-sim.out &
sim=$!
exec 3>"$fifo" # keeps the simulator's control channel open
rm -f "$fifo"
for _ in $(seq 50); do [ -s build/demo-sim.out ] && break; sleep 0.1; done
device=$(head -n1 build/demo-sim.out)
echo "simulated logger on $device"
cat >"$XDG_CONFIG_HOME/OrvType1/OrvType1.ini" <<INI
[Comms]
Device1=$device
Port=1
Method=1
INI

cleanup() {
    echo quit >&3 || true
    kill "$sim" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    build/bin/Hushmark &
    app=$!
    sleep 3
    # Link as a user would: the Link button by its caption's access key.
    window=$(xdotool search --sync --name "QN-7X Control Panel" | head -n1)
    xdotool windowfocus --sync "$window" key --clearmodifiers alt+k || true
    sleep 5
    import -window root build/demo.png
    echo "screenshot: build/demo.png"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
else
    build/bin/Hushmark
fi
