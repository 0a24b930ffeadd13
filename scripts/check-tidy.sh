#!/usr/bin/env bash
# Runs clang-tidy over the program's own sources with the flags of the given build folder.
set -euo pipefail
build_dir=$1
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files -- 'color/*.cpp' 'window/*.cpp' 'app/*.cpp' | grep -v '/win32/')
# Qt's generated sources live in the build folder and are not ours to lint.
printf '%s\0' "${sources[@]}" | xargs -0 -P "$(nproc)" -n 4 clang-tidy --quiet -p "$build_dir"
echo "clang-tidy: ${#sources[@]} files clean"
