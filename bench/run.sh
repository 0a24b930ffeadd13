#!/usr/bin/env bash
# The start-up benchmark in one command: sets up a Debian 12 machine, builds the program optimised
# with the benchmark tools, then on a private Xvfb with openbox measures our program, a bare Xlib
# window (the floor), an empty Qt window of the same size (the toolkit's floor) and `yad --color`
# side by side, counts start-up instructions with callgrind, and times the web page's start in
# Chromium, Firefox and WebKit, each against an empty page. ROUNDS and CYCLES set the number of
# rounds (default 15) and chooser cycles (200); OURS and EMPTY_QT measure other builds of the two
# Qt programs, such as an older commit's, in the same places.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh --bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQCC_BUILD_TESTS=OFF \
    -DQCC_BUILD_BENCH=ON >/dev/null
cmake --build build/bench >/dev/null

# $! is the server itself, which replaced the process substitution's shell: only what this
# script started is ended.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
server=$!
read -r number <&3
export DISPLAY=:$number
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox --sm-disable 2>/dev/null &
wm=$!
trap 'kill $wm $server 2>/dev/null || true' EXIT
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done

echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo)," \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); $(date -u '+%Y-%m-%d %H:%M UTC')"
echo
build/bench/bench/StartupBench --ours "${OURS:-build/bench/app/quillmarch-color-converter}" \
    --floor build/bench/bench/XlibFloor --empty-qt "${EMPTY_QT:-build/bench/bench/EmptyQtWindow}" \
    --yad "$(command -v yad)" \
    --rounds "${ROUNDS:-15}" --cycles "${CYCLES:-200}" 2> >(grep -v -e '^round ' -e QStandardPaths >&2)


echo
instructions=$(env -u DISPLAY QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind \
    --callgrind-out-file=/dev/null build/bench/bench/FirstPaintProbe 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
echo "Start-up to first paint under callgrind (offscreen platform): ${instructions} instructions"

echo
cmake --workflow --preset web >/dev/null
node bench/PageStart.mjs "$PWD/build/web/quillmarch-color-converter.html" "${ROUNDS:-15}" ${OTHER_PAGE:+"$OTHER_PAGE"}
