#!/usr/bin/env bash
# Installs what building needs on Debian 12; with --tests also what the tests need (and the
# locales they switch to), with --bench what the benchmarks need. Installs only what is missing;
# needs root or sudo to install.
set -euo pipefail

build_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxcb1-dev
    librsvg2-bin fonts-dejavu-core fonts-dejavu-extra qt6-translations-l10n
)
test_packages=(
    clang-format clang-tidy locales
    xvfb xauth openbox xdotool xclip x11-utils x11-xserver-utils imagemagick
    desktop-file-utils appstream
    g++-mingw-w64-i686 wine wine32:i386
    dpkg-dev lintian weston qt6-wayland valgrind qt6ct faketime
    emscripten chromium qt6-websockets-dev
)
bench_packages=(
    xvfb xauth openbox valgrind libx11-dev libxdamage-dev libxtst-dev yad emscripten chromium
)
test_locales=(de_DE fr_FR fi_FI ru_RU)

want_tests=false
packages=("${build_packages[@]}")
case "${1:-}" in
--tests)
    want_tests=true
    packages+=("${test_packages[@]}")
    ;;
--bench) packages+=("${bench_packages[@]}") ;;
esac

as_root() {
    if [[ $EUID -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "setup: run as root, or install these packages yourself: $missing_list" >&2
        exit 1
    fi
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
missing_list="${missing[*]:-}"

if ((${#missing[@]} > 0)); then
    echo "setup: installing ${missing_list}"
    # Wine for 32-bit Windows programs comes from the i386 architecture.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    # A mirror caught mid-sync fails one list now and then; what did arrive is enough to install
    # from, and apt-get install says so plainly when it is not.
    as_root apt-get update -qq || echo "setup: some package lists did not refresh; going on" >&2
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if $want_tests; then
    for name in "${test_locales[@]}"; do
        if ! locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8$"; then
            echo "setup: generating locale ${name}.UTF-8"
            as_root localedef -i "$name" -f UTF-8 "${name}.UTF-8"
        fi
    done
fi
