#!/usr/bin/env bash
# Runs clang-tidy over the program's own sources with the flags of the given build folder.
set -euo pipefail
build_dir=$1
cd "$(dirname "$0")/.."
# The Windows sources are not in the Linux build's compile commands; the cross build checks them
# with the same warnings as errors.
mapfile -t sources < <(git ls-files -- 'color/*.cpp' 'window/*.cpp' 'app/*.cpp' |
    grep -v -e '/win32/' -e 'WinMain.cpp')
# Qt's generated sources live in the build folder and are not ours to lint.
printf '%s\0' "${sources[@]}" | xargs -0 -P "$(nproc)" -n 4 clang-tidy --quiet -p "$build_dir"
echo "clang-tidy: ${#sources[@]} files clean"
