#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds everything with AddressSanitizer, UndefinedBehaviorSanitizer
# and warnings as errors, and runs every test. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh --tests
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci
