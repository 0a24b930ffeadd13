#!/usr/bin/env bash
# Builds the release .deb and the Windows .exe twice from this source tree, in two different
# folders and with the clock two days apart, and checks that both builds give the same bytes and
# that lintian finds the .deb hardened. Prints each artefact's SHA-256. Needs the test packages
# (scripts/setup-debian.sh --tests: faketime, lintian, mingw-w64). Set KEEP=folder to keep the
# artefacts of the first build there.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The commit's time: from git in a checkout, else from the file times `git archive` writes.
if ! SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null); then
    SOURCE_DATE_EPOCH=$(stat -c %Y "$source_dir/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH

# build <folder> <faketime offset>: the source copied into the folder, then both programs.
build() {
    local dir=$1 clock=(faketime -f "$2")
    mkdir -p "$dir/src"
    tar -C "$source_dir" --exclude=./build --exclude=./.git -c . | tar -C "$dir/src" -x
    "${clock[@]}" cmake -S "$dir/src" -B "$dir/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQCC_BUILD_TESTS=OFF >/dev/null
    "${clock[@]}" cmake --build "$dir/linux" >/dev/null
    (cd "$dir/linux" && "${clock[@]}" cpack -G DEB 2>&1 >/dev/null | grep -v "dependency list" >&2 || true)
    "${clock[@]}" cmake -S "$dir/src" -B "$dir/windows" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/toolchain-i686-w64-mingw32.cmake" >/dev/null
    "${clock[@]}" cmake --build "$dir/windows" --target quillmarch-color-converter >/dev/null
    mkdir -p "$dir/out"
    cp "$dir"/linux/packages/*.deb "$dir/windows/app/quillmarch-color-converter.exe" "$dir/out/"
}

build "$work/first" +0d
build "$work/second-build" +2d

status=0
for artefact in "$work"/first/out/*; do
    name=$(basename "$artefact")
    if cmp -s "$artefact" "$work/second-build/out/$name"; then
        echo "same bytes: $(sha256sum "$artefact" | cut -d' ' -f1)  $name"
    else
        echo "DIFFERENT:  $name" >&2
        sha256sum "$artefact" "$work/second-build/out/$name" >&2
        status=1
    fi
done

# Debian's hardening flags must be in the package's program.
lintian_report=$(lintian --pedantic --display-info "$work"/first/out/*.deb 2>&1 || true)
if grep -q 'hardening' <<<"$lintian_report"; then
    echo "lintian reports missing hardening:" >&2
    echo "$lintian_report" >&2
    status=1
fi
if [[ -n ${KEEP:-} ]]; then
    mkdir -p "$KEEP" && cp "$work"/first/out/* "$KEEP/"
fi
exit $status
