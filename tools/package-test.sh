#!/usr/bin/env bash
# The installed program, not the build tree: builds the Debian package,
# checks it with lintian (any error or warning fails; informational tags and
# the package's own overrides pass), unpacks it into a temporary root,
# validates its desktop entry and metainfo,
# then runs the unpacked Hushmark under a virtual display against the
# unpacked simulator, links by its access key, opens the help window and the
# graph viewer, and checks that each found its files.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh desktop-file-utils appstream dpkg-dev lintian
bash tools/package.sh
deb=$(ls build-package/hushmark_*.deb | head -n1)
lintian --fail-on error,warning --display-info "$deb"
root=$(mktemp -d)
work=$(mktemp -d)
dpkg-deb -x "$deb" "$root"
dpkg-deb -f "$deb" Depends | grep -q libqt6serialport6
desktop-file-validate "$root/usr/share/applications/org.orvane.Hushmark.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.orvane.Hushmark.metainfo.xml"
test -f "$root/usr/share/icons/hicolor/scalable/apps/org.orvane.Hushmark.svg"
test -f "$root/usr/share/icons/hicolor/256x256/apps/org.orvane.Hushmark.png"
test -f "$root/usr/share/hushmark/help/index.html"
test -f "$root/usr/share/hushmark/samples/Sample_Sta.csv"
ls "$root"/usr/lib/*/hushmark/Comlane.so "$root"/usr/lib/*/hushmark/OrvGraph.so >/dev/null
"$root/usr/bin/qn7x-sim" --help | grep -q "usage: qn7x-sim"
"$root/usr/bin/qn7x-fetch" --help >/dev/null
"$root/usr/bin/qn7x-report" --help >/dev/null
# The programs without windows run with no display and no Qt platform named.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/qn7x-report" --json \
    "$root/usr/share/hushmark/samples/Sample_Sta.csv" | grep -q '"Leq":'
for page in Hushmark qn7x-fetch qn7x-sim qn7x-report; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .*Hushmark $("$root/usr/bin/qn7x-fetch" --version | cut -d' ' -f2)"
done
test "$(dpkg-deb -f "$deb" Version)" = "$("$root/usr/bin/qn7x-fetch" --version | cut -d' ' -f2)"

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/OrvType1"
fifo="$work/control"
mkfifo "$fifo"
"$root/usr/bin/qn7x-sim" --fill-memory <"$fifo" >"$work/sim.out" &
sim=$!
exec 3>"$fifo"
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
device=$(head -n1 "$work/sim.out")
printf '[Comms]\nDevice1=%s\nPort=1\nMethod=1\n' "$device" >"$XDG_CONFIG_HOME/OrvType1/OrvType1.ini"

export DISPLAY=:78
Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    echo quit >&3 || true
    kill "${app:-}" "$sim" "$xvfb" 2>/dev/null || true
    rm -rf "$root" "$work"
}
trap cleanup EXIT
sleep 1
fail() {
    echo "installed program: $1" >&2
    exit 1
}
start_panel() {
    "$root/usr/bin/Hushmark" >>"$work/app.out" 2>&1 &
    app=$!
    panel=$(xdotool search --sync --name "QN-7X Control Panel" | head -n1)
}

# The graph viewer comes from the OrvGraph plugin (it opens while no logger is linked).
start_panel
xdotool windowfocus --sync "$panel" key --clearmodifiers alt+g
timeout 10 xdotool search --sync --name "Data Viewing Utility" >/dev/null || fail "the graph viewer did not open"
# The help window finds its pages: its caption is the contents page's title.
xdotool windowfocus --sync "$panel" key --clearmodifiers F1
timeout 10 xdotool search --sync --name "QN-7X Control Panel Help" >/dev/null ||
    fail "the help window did not show its pages"
kill "$app"
wait "$app" 2>/dev/null || true

# Linking needs the Comlane plugin: the logger then sees the handshake ("\x01/").
start_panel
xdotool windowfocus --sync "$panel" key --clearmodifiers alt+k
sleep 4
echo wire >&3
sleep 0.5
tail -n1 "$work/sim.out" | grep -q "012f" || fail "no handshake reached the logger"
echo "installed package: opens the graph viewer and its help, and links"
