#!/usr/bin/env bash
# toven on a real X server with a window manager (Xvfb and openbox), driven by real X input
# (xdotool) and looked at in screenshots (ImageMagick's import): the data box by keyboard and
# mouse, a plot, the readout over the mini grid and over the surface, the plot window's owner
# as the window manager sees it, the printing question, Exit. Also a display whose screen the
# server lacks.
#
#   x11_journey.sh TOVEN_BINARY
#
# Everything happens in a temporary folder on a display number of its own; every wait is for a
# window or a picture, with a deadline. Exit status 77 (skipped) where the tools are missing.
set -euo pipefail

binary="$(realpath "$1")"
for tool in Xvfb openbox xdotool xprop import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (make test installs it)"
        exit 77
    fi
done

work="$(mktemp -d)"
pids=()
# Every X server keeps its socket in /tmp/.X11-unix and makes that folder where it is missing;
# the one that we made goes again, once no server uses it.
x11_sockets=/tmp/.X11-unix
made_x11_sockets=false
[ -e "$x11_sockets" ] || made_x11_sockets=true
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
    if $made_x11_sockets; then
        rmdir "$x11_sockets" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Says what failed, with what the server, the window manager and toven said.
fail() {
    echo "FAILED: $*" >&2
    local log
    for log in xvfb.log openbox.log toven.err; do
        if [ -s "$work/$log" ]; then
            echo "--- $log" >&2
            tail -n 20 "$work/$log" >&2
        fi
    done
    exit 1
}

# Polls `command` until it succeeds, at most `seconds` long.
wait_for() {
    local seconds="$1" what="$2"
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited ${seconds}s for $what"
        sleep 0.05
    done
}

# The visible window of this exact title, waited for. A search fails with BadWindow when a window goes while it is being looked at (a box that
# closes, a menu): such a search is simply repeated.
window_named() {
    local id="" deadline=$((SECONDS + 30))
    until [ -n "$id" ] || [ "$SECONDS" -ge "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || id=""
        [ -n "$id" ] || sleep 0.05
    done
    echo "$id"
}

# The colour of a pixel of a picture as "r,g,b".
pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# How many pixels of an area WxH+X+Y of a picture have the colour "#rrggbb".
count_colour() {
    convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
        -format '%[fx:int(mean*w*h)]' info:
}

export HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
# The journey looks at the program from outside; leaks are the in-process tests' to find, and
# a real X session's libraries keep caches of their own until the process ends.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

# The X server, on the first free display number, which it writes to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 60 "the X server" test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"

# A screen the server does not have: toven says so in its own words and ends with status 1.
status=0
DISPLAY="$DISPLAY.5" "$binary" 2>"$work/screen5.err" || status=$?
[ "$status" -eq 1 ] || fail "screen 5: status $status"
grep -q "no display could be opened" "$work/screen5.err" || fail "screen 5: $(cat "$work/screen5.err")"
grep -q -- "--render" "$work/screen5.err" || fail "screen 5 does not point to --render"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 60 "the window manager" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

"$binary" >"$work/toven.out" 2>"$work/toven.err" &
toven=$!
pids+=($toven)
main="$(window_named toven)"
[ -n "$main" ] || fail "no main window"
xdotool windowactivate --sync "$main"

# Data > Fdata by keyboard.
xdotool key --clearmodifiers alt+d f
fdata="$(window_named fdata)"
[ -n "$fdata" ] || fail "Data > Fdata opened no window"

# The list's highlighted line (the first, after the box is built) gives the list's place and
# its line height; the edit and the button "u" lie above it, at about one and 2.4 lines of the
# window's font, which is about a third of the list's top.
# On a loaded machine the window may show before the box has filled it: look until it has.
highlighted_band() {
    import -window "$fdata" "$work/fdata.png" &&
        read -r band_top band_height < <(
            convert "$work/fdata.png" -crop 1x200+40+0 +repage -depth 8 txt:- |
                awk -F'[ ,:()]+' 'NR > 1 && $5 - $3 > 50 {
                    if (top == "") top = $2
                    else if ($2 - last > 3) exit
                    last = $2
                } END { print top, last - top + 1 }') &&
        [ -n "$band_top" ] && [ "$band_height" -gt 8 ]
}
band_top=""
band_height=0
wait_for 20 "a highlighted line in the list" highlighted_band
h=$((band_top / 3))
xdotool mousemove --window "$fdata" 40 $((band_top + 5 * band_height + band_height / 2)) \
    click --repeat 2 --delay 60 1
xdotool mousemove --window "$fdata" 60 "$h" click 1
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 'f(x,y) = 0.5+0*x'
# Every keystroke replaced the list's formula line, which is highlighted now.
formula_highlighted() {
    import -window "$fdata" "$work/fdata-edited.png" || return 1
    local rows
    rows=$(convert "$work/fdata-edited.png" \
        -crop "1x${band_height}+40+$((band_top + 5 * band_height))" +repage -depth 8 txt:- |
        awk -F'[ ,:()]+' 'NR > 1 && $5 - $3 > 50 { n++ } END { print n + 0 }')
    [ "$rows" -gt $((band_height / 2)) ]
}
wait_for 20 "the edited formula line to be highlighted" formula_highlighted
xdotool mousemove --window "$fdata" $((h * 8 / 10)) $((band_top - h * 6 / 10)) click 1

# Plot > Screen by keyboard, and a click in the plot window draws the page.
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+p s
plot="$(window_named plot)"
[ -n "$plot" ] || fail "Plot > Screen opened no window"
eval "$(xdotool getwindowgeometry --shell "$plot")"
plot_width=$WIDTH
plot_height=$HEIGHT
xdotool mousemove --window "$plot" 20 20 click 1

# The page's panels, in percent of the client area from the left and from the bottom.
area() { # left right bottom top -> WxH+X+Y
    local left=$((plot_width * $1 / 100)) right=$((plot_width * $2 / 100))
    local top=$((plot_height - plot_height * $4 / 100)) bottom=$((plot_height - plot_height * $3 / 100))
    echo "$((right - left))x$((bottom - top))+$left+$top"
}
pale_yellow="#FDFEDA"
dark_blue="#0000A0"
shot() { import -window "$plot" "$work/$1.png"; }
page_drawn() { shot page && [ "$(count_colour "$work/page.png" "$(area 77 98 54 75)" "$pale_yellow")" -gt 100 ]; }
wait_for 20 "the page in the plot window" page_drawn

# Over the mini grid the readout shows x, y and f(x,y) in dark blue.
readout="$(area 77 98 77 90)"
before=$(count_colour "$work/page.png" "$readout" "$dark_blue")
xdotool mousemove --window "$plot" $((plot_width * 87 / 100)) $((plot_height - plot_height * 64 / 100))
read_out() { shot readout && [ "$(count_colour "$work/readout.png" "$readout" "$dark_blue")" -gt $((before + 50)) ]; }
wait_for 20 "the readout over the mini grid" read_out

# Over the surface the readout reads the point of the surface under the mouse, and a red cross
# marks its x, y on the mini grid. The middle of the surface panel shows the middle of the flat
# surface z = 0.5, the box being -1..1 by -1..1 by -0.2..1.2.
convert "$work/readout.png" -crop "$readout" +repage "$work/readout-grid.png"
xdotool mousemove --window "$plot" $((plot_width * 40 / 100)) $((plot_height - plot_height * 40 / 100))
read_surface() {
    shot surface &&
        [ "$(count_colour "$work/surface.png" "$(area 77 98 54 75)" "#FF0000")" -ge 7 ] &&
        convert "$work/surface.png" -crop "$readout" +repage "$work/readout-surface.png" &&
        [ "$(compare -metric AE "$work/readout-grid.png" "$work/readout-surface.png" null: 2>&1)" != 0 ] &&
        [ "$(count_colour "$work/surface.png" "$readout" "$dark_blue")" -gt $((before + 50)) ]
}
wait_for 20 "the readout over the surface, with its cross on the mini grid" read_surface

# By hand: a right-button drag up, then Shift+Up, tilt the view; each changes the surface panel
# and the graph data window's tilt line. A slider in Data > Sliders... changes the page too.
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+d g
sdata="$(window_named sdata)"
[ -n "$sdata" ] || fail "Data > Gdata opened no window"
# Child windows open at the same place: these two go beside the plot window.
xdotool windowmove --sync "$sdata" 700 50
# A new child window stops the readout until a click draws the page again.
xdotool mousemove --window "$plot" 20 20 click 1
wait_for 20 "the page drawn again" page_drawn
surface_panel="$(area 0 76 0 100)"
changed() { # before after: more pixels differ in the surface panel than a cross has
    [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1)" -gt 200 ]
}
shot_panel() { shot "$1-page" && convert "$work/$1-page.png" -crop "$surface_panel" +repage "$work/$1.png"; }
tilt_line() { import -window "$sdata" "$work/$1.png"; }
shot_panel upright
tilt_line tilt-upright
xdotool mousemove --window "$plot" $((plot_width / 2)) $((plot_height * 3 / 4)) mousedown 3 \
    mousemove --window "$plot" $((plot_width / 2)) $((plot_height / 4)) mouseup 3
dragged() { shot_panel dragged && changed upright dragged && tilt_line tilt-dragged &&
    [ "$(compare -metric AE "$work/tilt-upright.png" "$work/tilt-dragged.png" null: 2>&1)" != 0 ]; }
wait_for 20 "a right-button drag to tilt the page and the tilt line" dragged
xdotool windowactivate --sync "$plot"
xdotool key shift+Up
keyed() { shot_panel keyed && changed dragged keyed && tilt_line tilt-keyed &&
    [ "$(compare -metric AE "$work/tilt-dragged.png" "$work/tilt-keyed.png" null: 2>&1)" != 0 ]; }
wait_for 20 "Shift+Up to tilt the page and the tilt line" keyed
# A drag to the left, then Shift+Right, turn the view: the page changes, the tilt line not.
xdotool mousemove --window "$plot" $((plot_width * 3 / 4)) $((plot_height / 2)) mousedown 3 \
    mousemove --window "$plot" $((plot_width / 4)) $((plot_height / 2)) mouseup 3
turned() { shot_panel turned && changed keyed turned && tilt_line tilt-turned &&
    [ "$(compare -metric AE "$work/tilt-keyed.png" "$work/tilt-turned.png" null: 2>&1)" = 0 ]; }
wait_for 20 "a right-button drag to the left to turn the page" turned
xdotool windowactivate --sync "$plot"
xdotool key shift+Right
turned_back() { shot_panel turned-back && changed turned turned-back; }
wait_for 20 "Shift+Right to turn the page" turned_back
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+d s
sliders="$(window_named sliders)"
[ -n "$sliders" ] || fail "Data > Sliders... opened no window"
xdotool windowmove --sync "$sliders" 700 400
# The last slider is tilt's; a click near its left end moves it toward -89.
xdotool mousemove --window "$sliders" 20 $((10 + 5 * 32 + 12)) click 1
slid() { shot_panel slid && changed turned-back slid; }
wait_for 20 "the tilt slider to change the page" slid

# The plot window is owned by the main window as the window manager sees it.
owner=$(xprop -id "$plot" WM_TRANSIENT_FOR | awk '{print $NF}')
[ "$((owner))" -eq "$main" ] || fail "the plot window is transient for '$owner', not the main window $main"

# Plot > Print asks "Shall we print to " with the printer's name as the text, in a box wide
# enough for the whole caption; No draws the page on the screen instead, with no note after.
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+p p
question="$(window_named "Shall we print to ")"
[ -n "$question" ] || fail "Plot > Print asked nothing"
eval "$(xdotool getwindowgeometry --shell "$question")"
[ "$WIDTH" -ge 200 ] || fail "the printing question is only $WIDTH pixels wide"
import -window root "$work/question.png"
xdotool windowactivate --sync "$question"
xdotool key --clearmodifiers Escape
wait_for 20 "the question to go" sh -c "! xdotool search --onlyvisible --name '^Shall we print to \$'"
if xdotool search --onlyvisible --name '^Note$' >/dev/null; then
    fail "a declined print said it was finished"
fi

# Exit ends the program.
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+x
wait_for 20 "toven to end" sh -c "! kill -0 $toven"
status=0
wait "$toven" || status=$?
[ "$status" -eq 0 ] || fail "toven ended with status $status: $(cat "$work/toven.err")"
echo "the journey took ${SECONDS}s"
