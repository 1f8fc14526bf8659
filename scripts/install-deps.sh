#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
# Usage: scripts/install-deps.sh [play|test|web|fuzz]
# web: the browser version (Emscripten, stb_image, Closure Compiler from
# hosts/web's lock file) and its tests (chromium, node with npm, playwright-core
# from tests/web's lock file); test includes it.
set -euo pipefail

common=(
    cmake g++ make pkg-config
    libsdl2-dev libgles-dev libegl-dev libgl1-mesa-dri libegl-mesa0
    libpng-dev zlib1g-dev libjpeg62-turbo-dev libfreetype-dev libzopfli-dev
)
# Picture and glyph sources the asset forges read; tests regenerate assets from them.
sources=(
    fonts-materialdesignicons-webfont fonts-material-design-icons-iconfont
    fonts-font-awesome fonts-noto-color-emoji fonts-crosextra-carlito unicode-data
    librsvg2-bin
)
# xdotool, xprop, xwininfo (x11-utils) and the X core fonts find, drive and draw the desktop host's native message boxes under Xvfb.
testing=(libgtest-dev googletest xvfb xauth xdotool x11-utils xfonts-base)
# libFuzzer and the sanitizers' runtime for clang (`make fuzz` only).
fuzzing=(clang libclang-rt-14-dev)
web=(emscripten libstb-dev python3 chromium)
# Node may come from elsewhere (with its own npm); Debian's only when missing.
command -v node >/dev/null || web+=(nodejs)
command -v npm >/dev/null || web+=(npm)

mode="${1:-test}"
want=()
case "$mode" in
    play) want=("${common[@]}") ;;
    test) want=("${common[@]}" "${sources[@]}" "${testing[@]}" "${web[@]}") ;;
    web) want=("${web[@]}") ;;
    fuzz) want=("${common[@]}" "${fuzzing[@]}") ;;
    *) echo "usage: $0 [play|test|web|fuzz]" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
# The browser tests' and the web build's own packages, exactly as locked (again
# when the lock changes), and for `test` the vector emoji sets the puzzle forge
# rasterises.
npm_deps() {
    local dir
    dir="$(dirname "$0")/../tests/web"
    if [ "$mode" != "play" ] && [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
        (cd "$dir" && npm ci --no-audit --no-fund)
    fi
    # The web build's script minifier.
    dir="$(dirname "$0")/../hosts/web"
    if [ "$mode" != "play" ] && [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
        (cd "$dir" && npm ci --no-audit --no-fund)
    fi
    if [ "$mode" = "test" ]; then
        local forge stamp
        forge="$(dirname "$0")/../tools/forge"
        stamp="$forge/node_modules/.installed-lock.json"
        if ! cmp -s "$forge/package-lock.json" "$stamp" 2>/dev/null; then
            (cd "$forge" && npm ci --no-audit --no-fund --loglevel=error)
            cp "$forge/package-lock.json" "$stamp"
        fi
    fi
}
if [ ${#missing[@]} -eq 0 ]; then npm_deps; exit 0; fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo_cmd=(sudo); else
        echo "Missing packages (${missing[*]}); run this script as root." >&2; exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q || true
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
npm_deps
