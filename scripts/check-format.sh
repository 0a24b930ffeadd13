#!/usr/bin/env bash
# Fails when clang-format would change any of the project's C++ files. Lists them with find, not
# git, so that it also runs in an unpacked source tarball.
set -euo pipefail
cd "$(dirname "$0")/.."
find app bench color tests window -type f \( -name '*.cpp' -o -name '*.hpp' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
echo "clang-format: every C++ file is formatted"
