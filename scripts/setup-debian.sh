#!/usr/bin/env bash
# Installs what building needs on Debian 12; with --tests also what the tests need (and the
# locales they switch to), with --bench what the benchmarks need. Both also take the node modules
# that drive the browsers, at the versions package-lock.json pins. Installs only what is missing;
# needs root or sudo to install Debian's packages.
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
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 doctest-dev
    dpkg-dev lintian weston qt6-wayland valgrind qt6ct faketime kwin-x11 fonts-cantarell
    qt6-gtk-platformtheme
    emscripten chromium firefox-esr webkit2gtk-driver python3-gi gir1.2-webkit2-4.1
)
bench_packages=(
    xvfb xauth openbox valgrind libx11-dev libxdamage-dev libxtst-dev yad emscripten chromium
    firefox-esr webkit2gtk-driver
)
# 64-bit Wine (above) runs the 64-bit Windows program in the tests; 32-bit Wine runs the 32-bit
# release. Its packages must match the versions of the 64-bit libraries exactly, so a mirror whose
# i386 lists lag behind can leave it uninstallable; the rest installs without it, and the tests of
# the 32-bit program say they were skipped and why, as they do on a kernel that runs no 32-bit
# programs.
wine_packages=(wine32:i386)
test_locales=(de_DE fr_FR fi_FI ru_RU)

want_tests=false
want_browsers=false
packages=("${build_packages[@]}")
case "${1:-}" in
--tests)
    want_tests=true
    want_browsers=true
    packages+=("${test_packages[@]}")
    ;;
--bench)
    want_browsers=true
    packages+=("${bench_packages[@]}")
    ;;
esac
# npm comes with a node from elsewhere (NodeSource's); Debian's would replace that node.
if $want_browsers && ! command -v npm >/dev/null 2>&1; then
    packages+=(npm)
fi

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

missing_of() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$package"
        fi
    done
}
mapfile -t missing < <(missing_of "${packages[@]}")
missing_wine=()
$want_tests && mapfile -t missing_wine < <(missing_of "${wine_packages[@]}")
missing_list="${missing[*]:-} ${missing_wine[*]:-}"

if ((${#missing[@]} + ${#missing_wine[@]} > 0)); then
    echo "setup: installing ${missing_list}"
    # Wine for 32-bit Windows programs comes from the i386 architecture.
    if ((${#missing_wine[@]} > 0)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    # A mirror caught mid-sync fails one list now and then; what did arrive is enough to install
    # from, and apt-get install says so plainly when it is not.
    as_root apt-get update -qq || echo "setup: some package lists did not refresh; going on" >&2
    install() {
        as_root env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "$@"
    }
    if ((${#missing[@]} > 0)); then
        install "${missing[@]}" >/dev/null
    fi
    if ((${#missing_wine[@]} > 0)) && ! install "${missing_wine[@]}" >/dev/null 2>&1; then
        echo "setup: WARNING: 32-bit Wine cannot be installed from these package lists now" \
            "(its i386 libraries do not match the installed ones); the tests of the 32-bit" \
            "Windows program will be skipped, the 64-bit one's still run" >&2
    fi
fi

if $want_tests; then
    for name in "${test_locales[@]}"; do
        if ! locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8$"; then
            echo "setup: generating locale ${name}.UTF-8"
            as_root localedef -i "$name" -f UTF-8 "${name}.UTF-8"
        fi
    done
fi

# npm ci writes its own record of what it installed; a newer lock file than that record means the
# pinned versions changed.
if $want_browsers; then
    root="$(cd "$(dirname "$0")/.." && pwd)"
    if [[ ! "$root/node_modules/.package-lock.json" -nt "$root/package-lock.json" ]]; then
        echo "setup: installing the browser drivers' node modules"
        (cd "$root" && npm ci --no-audit --no-fund --loglevel=error)
    fi
fi
