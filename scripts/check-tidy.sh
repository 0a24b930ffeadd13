#!/usr/bin/env bash
# Runs clang-tidy over the program's own sources with the flags of the given build folder. Lists
# them with find, not git, so that it also runs in an unpacked source tarball.
set -euo pipefail
build_dir=$1
cd "$(dirname "$0")/.."
# The Windows sources are not in the Linux build's compile commands; the cross build checks them
# with the same warnings as errors.
mapfile -t sources < <(find app color window -type f -name '*.cpp' \
    ! -path '*/win32/*' | sort)
# Qt's generated sources live in the build folder and are not ours to lint.
printf '%s\0' "${sources[@]}" | xargs -0 -P "$(nproc)" -n 4 clang-tidy --quiet -p "$build_dir"
echo "clang-tidy: ${#sources[@]} files clean"
