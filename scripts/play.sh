#!/usr/bin/env bash
# Opens the game in a window, or says in one line why it cannot.
set -u
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: the window cannot open here; use build/dev/bin/nonogram-headless --script FILE for a headless run." >&2
    exit 1
fi
exec "$here/build/dev/bin/nonogram" "$@"
