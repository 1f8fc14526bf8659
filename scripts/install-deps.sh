#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
# Usage: scripts/install-deps.sh [play|test]
set -euo pipefail

common=(
    cmake g++ make pkg-config
    libsdl2-dev libgles-dev libegl-dev libgl1-mesa-dri libegl-mesa0
    libpng-dev zlib1g-dev libjpeg62-turbo-dev libfreetype-dev
)
# Picture and glyph sources the asset forges read; tests regenerate assets from them.
sources=(
    fonts-materialdesignicons-webfont fonts-material-design-icons-iconfont
    fonts-font-awesome fonts-noto-color-emoji fonts-crosextra-carlito unicode-data
    librsvg2-bin nodejs
)
testing=(libgtest-dev googletest xvfb xauth)

want=("${common[@]}")
if [ "${1:-test}" = "test" ]; then
    want+=("${sources[@]}" "${testing[@]}")
fi

missing=()
for p in "${want[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
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
fi

# The vector emoji sets the puzzle forge rasterises, pinned by their lock file.
if [ "${1:-test}" = "test" ]; then
    forge="$(cd "$(dirname "$0")/.." && pwd)/tools/forge"
    if ! command -v npm >/dev/null; then  # Debian ships npm apart from nodejs
        apt_get=(apt-get); [ "$(id -u)" -ne 0 ] && apt_get=(sudo apt-get)
        DEBIAN_FRONTEND=noninteractive "${apt_get[@]}" install -y -q --no-install-recommends npm
    fi
    stamp="$forge/node_modules/.installed-lock.json"
    if ! cmp -s "$forge/package-lock.json" "$stamp" 2>/dev/null; then
        (cd "$forge" && npm ci --no-audit --no-fund --loglevel=error)
        cp "$forge/package-lock.json" "$stamp"
    fi
fi
