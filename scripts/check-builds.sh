#!/usr/bin/env bash
# Configures every preset and a plain `cmake -S . -B build` in folders of their own, and builds
# what only they build: the test support, which compiles the browser driver only where the web
# tests are on. The ci preset's own build covers the rest with the same sources, the Windows
# program and the page included. Needs the test packages (scripts/setup-debian.sh --tests).
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cd "$source_dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

configure() {
    local name=$1
    shift
    if ! cmake "$@" -B "$work/$name" >"$work/$name.log" 2>&1; then
        cat "$work/$name.log" >&2
        echo "check-builds: configuring $name failed" >&2
        exit 1
    fi
}

for preset in release dev windows windows64 web; do
    configure "$preset" --preset "$preset"
done
configure plain -S . -G Ninja

for name in dev plain; do
    if ! cmake --build "$work/$name" --target qcc_test_support \
        >"$work/$name-build.log" 2>&1; then
        cat "$work/$name-build.log" >&2
        echo "check-builds: building $name failed" >&2
        exit 1
    fi
done
echo "check-builds: the release, dev, windows, windows64 and web presets and a plain configure all work"
