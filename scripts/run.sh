#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program optimised and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/app/quillmarch-color-converter
