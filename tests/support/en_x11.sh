#!/usr/bin/env bash
# Runs a test program with its windows on an X display of its own, as on a
# desktop: a virtual X server (Xvfb, on the first free display) with the
# openbox window manager, Qt on xcb. Without them the program is skipped
# (exit 77, with the reason), never run without its display.
set -u
program=$1
shift
for tool in Xvfb openbox; do
    if ! command -v "$tool" >/dev/null; then
        echo "Skipped: $tool is not installed (./tervalo.sh test installs it)."
        exit 77
    fi
done

work=$(mktemp -d)
server=
manager=
finish() {
    [ -n "$manager" ] && kill "$manager" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

# The server writes the number of the display it found free once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Skipped: Xvfb did not start:"
    cat "$work/xvfb.log"
    exit 77
fi
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
manager=$!

QT_QPA_PLATFORM=xcb "$program" "$@"
