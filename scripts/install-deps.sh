#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
# Usage: scripts/install-deps.sh [play|test|fuzz]
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
)
# xdotool, xprop, xwininfo (x11-utils) and the X core fonts find, drive and draw the desktop host's native message boxes under Xvfb.
testing=(libgtest-dev googletest xvfb xauth xdotool x11-utils xfonts-base)
# libFuzzer and the sanitizers' runtime for clang (`make fuzz` only).
fuzzing=(clang libclang-rt-14-dev)

want=("${common[@]}")
if [ "${1:-test}" = "test" ]; then
    want+=("${sources[@]}" "${testing[@]}")
elif [ "$1" = "fuzz" ]; then
    want+=("${fuzzing[@]}")
fi

missing=()
for p in "${want[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

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
