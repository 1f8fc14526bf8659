#!/bin/sh
# The desktop host's native message box, end to end on a virtual display:
# Escape in the game's window asks "Quit?"; the box must appear beside the
# window, and a click on its first button must reach the module as button 0.
# Usage: dialog_box_test.sh NONOGRAM MODULE en|ru probe|game
#   probe: MODULE is the dialog probe, which ends with status 10 for button 0
#          and then opens the help link, which must reach the system's browser
#          opener, xdg-open, in the device language;
#   game:  MODULE is the game, which ends with status 0.
set -u
nonogram=$1
module=$2
lang=$3
mode=$4

work=$(mktemp -d)
xvfb=""
game=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log" >&2
    exit 1
}

# A browser opener that only notes the address.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$1" >> "%s/opened"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

# A display of our own (Xvfb names the free number it took) and the game on
# it; true once the game's window is there.
start_game() {
    # -noreset: by default the server resets as its last client leaves, and a
    # client that connects during the reset (the game, right after the probe
    # below) is refused.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    # A loaded machine can take seconds to bring the display up.
    for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    # Announced is not yet accepting: wait until a client gets an answer.
    answered=""
    for _ in $(seq 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && answered=yes && break
        sleep 0.1
    done
    [ -n "$answered" ] || fail "Xvfb does not accept clients"

    # X11 asked for by name, so a refused display says why instead of
    # falling back to a driver that shows nothing.
    PATH="$work/bin:$PATH" XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=x11 \
        "$nonogram" --module "$module" --lang "$lang" --size 300x400 >"$work/game.log" 2>&1 &
    game=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --name '^Nonogram$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && return 0
        kill -0 "$game" 2>/dev/null || return 1
        sleep 0.1
    done
    return 0
}

# A display that refuses the game's first window on a loaded machine is
# given one fresh start; a second refusal is a fault.
if ! start_game; then
    grep -q "cannot open a window" "$work/game.log" || fail "the game ended before its window appeared"
    sed 's/^/  first start: /' "$work/game.log" >&2
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    start_game || fail "the game ended before its window appeared"
fi
[ -n "$window" ] || fail "the game's window did not appear"
sleep 0.5
xdotool windowfocus --sync "$window" key --window "$window" Escape 2>/dev/null ||
    xdotool key Escape

# The box: a dialog window (the game's own window is a normal one).
box=""
for _ in $(seq 100); do
    for w in $(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
        if xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG; then
            box=$w
        fi
    done
    [ -n "$box" ] && break
    kill -0 "$game" 2>/dev/null || fail "the game ended before a box appeared"
    sleep 0.1
done
[ -n "$box" ] || fail "no message box appeared"
title=$(xprop -id "$box" WM_NAME | sed 's/^[^"]*"//; s/"$//')
[ "$title" = " " ] || fail "box title is \"$title\", not a single space"

# Buttons stand in one row, the first leftmost; clicks beside them do nothing.
# So the first button is the first place a left-to-right sweep hits.
eval "$(xdotool getwindowgeometry --shell "$box")"
hit=""
y=$((HEIGHT - 3))
while [ -z "$hit" ] && [ "$y" -gt $((HEIGHT / 3)) ]; do
    x=2
    while [ "$x" -lt "$WIDTH" ]; do
        xdotool mousemove --window "$box" "$x" "$y" click 1 2>/dev/null
        if ! xdotool getwindowname "$box" >/dev/null 2>&1; then
            hit="$x,$y"
            break
        fi
        x=$((x + 8))
    done
    y=$((y - 4))
done
[ -n "$hit" ] || fail "no click closed the box"

status=""
for _ in $(seq 100); do
    if ! kill -0 "$game" 2>/dev/null; then
        wait "$game"
        status=$?
        break
    fi
    sleep 0.1
done
game_pid=$game
game=""
[ -n "$status" ] || { kill "$game_pid"; fail "the game did not end after the answer"; }
if [ "$mode" = game ]; then
    [ "$status" -eq 0 ] || fail "exit status $status after a click at $hit"
    echo "box answered by a click at $hit; the game ended"
    exit 0
fi
[ "$status" -eq 10 ] || fail "exit status $status after a click at $hit; 10 is button 0"

if [ "$lang" = ru ]; then id=4; else id=3; fi
opened=$(cat "$work/opened" 2>/dev/null)
case "$opened" in
    */Apps/Details\?id=$id\#tutorial) ;;
    *) fail "the browser opener got \"$opened\"" ;;
esac
echo "box answered 0 by a click at $hit; opened $opened"
