#!/usr/bin/env bash
# Fails when clang-format would change any tracked C++ file.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.cpp' '*.hpp' | xargs -0 clang-format --dry-run --Werror
echo "clang-format: every tracked C++ file is formatted"
