#!/usr/bin/env bash
# The real editor on a virtual display, driven by keys as a user would: it opens a fresh project,
# a second start hands over to the first and ends at once, F9 starts the project's runtime (which
# logs its command line), a chip picked in the palette and a pen click on the canvas change the map
# that Ctrl+S saves, the mode keys switch the editing mode, "Test Play from Here" on the canvas's menu
# starts the runtime at the clicked cell,
# Alt+F4 closes it and the mode and zoom land in "GMK_RT.ini"; started again without a folder it
# reopens the same project. Skips (status 77) when Xvfb or xdotool is missing.
# usage: EndToEndXvfb.sh QUILLON QUILLON_CLI RECORDING_RUNTIME
set -u
quillon=$1
cli=$2
recording_runtime=$3
source "$(dirname "$0")/XvfbKit.sh" quillon-e2e

mkdir -p "$work/config" "$work/tmp" "$work/base"
chmod 700 "$work/tmp"
export QUILLON_CONFIG_DIR="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/tmp"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

"$cli" new-project "$work/base" Quest "Quest" > /dev/null || fail "quillon-cli new-project"
# The project's runtime records its command line instead of playing.
cp "$recording_runtime" "$work/base/Quest/GMK_RT.exe" || fail "no recording runtime"
ini="$work/base/Quest/GMK_RT.ini"

start_display

# Waits until the splash window has gone and the main window (at least 720 wide) is mapped, then
# gives it the keyboard (there is no window manager to do so).
wait_window() {
  for _ in $(seq 200); do
    local found=""
    local count=0
    for id in $(xdotool search --onlyvisible --name '^Quillon' 2> /dev/null); do
      count=$((count + 1))
      local width
      width=$(xdotool getwindowgeometry --shell "$id" 2> /dev/null | sed -n 's/^WIDTH=//p')
      [ "${width:-0}" -ge 720 ] && found=$id
    done
    if [ -n "$found" ] && [ "$count" -eq 1 ]; then
      window=$found
      xdotool windowfocus --sync "$found" 2> /dev/null
      sleep 0.3
      return 0
    fi
    sleep 0.1
  done
  return 1
}
key() {
  xdotool mousemove 400 300 key "$@"
  sleep 0.4
}

# 1. Start on the project folder.
"$quillon" "$work/base/Quest" > "$work/editor.log" 2>&1 &
editor_pid=$!
wait_window || fail "no editor window"

# 2. A second start ends at once with status 0 and leaves the first running.
timeout 10 "$quillon" > /dev/null 2>&1
second=$?
[ "$second" -eq 0 ] || fail "second start ended with $second"
kill -0 "$editor_pid" 2> /dev/null || fail "the first editor ended"

# 3. F9: the runtime starts with the test-play arguments and logs them in the project folder.
log="$work/base/Quest/GMK_RT.log"
key F9
for _ in $(seq 50); do
  [ -s "$log" ] && break
  sleep 0.1
done
grep -q 'TestPlay HideTitle FullScreen' "$log" 2> /dev/null || fail "F9 did not start the runtime: $(cat "$log" 2> /dev/null)"
kill -0 "$editor_pid" 2> /dev/null || fail "the editor ended after the test play"

# 4. Lower layer (F5), a chip from the palette's lower tiles, a pen click on the canvas, Ctrl+S.
map="$work/base/Quest/Map0001.kmu"
before=$("$cli" dump "$map" 2> /dev/null | md5sum)
[ -n "$before" ] || fail "quillon-cli dump of the new map"
key F5
xdotool windowfocus --sync "$window" 2> /dev/null
# Palette cell (1, 5) lies below the dock's title; the canvas fills the right part of the window.
xdotool mousemove --window "$window" 48 250 click 1
sleep 0.4
xdotool mousemove --window "$window" 520 330 click 1
sleep 0.4
key ctrl+s
after=$("$cli" dump "$map" 2> /dev/null | md5sum)
[ "$before" != "$after" ] || fail "the pen click and Ctrl+S did not change the saved map"

# 5. Event mode (F7); "Test Play from Here" on the canvas's menu (mnemonic H) starts the runtime
# with the F9 words and the map and cell; then Alt+F4 closes without a question.
key F7
xdotool mousemove --window "$window" 520 330 click 3
sleep 0.4
xdotool key h
for _ in $(seq 50); do
  [ "$(wc -l < "$log")" -ge 2 ] && break
  sleep 0.1
done
sed -n 2p "$log" | grep -Eq '^TestPlay HideTitle FullScreen --start 1,[0-9]+,[0-9]+$' ||
  fail "Test Play from Here did not start the runtime: $(cat "$log")"
key alt+F4
wait_end || fail "Alt+F4 did not close the editor"
[ "$status" -eq 0 ] || fail "the editor ended with $status"
grep -q '^MapEditMode=2' "$ini" || fail "MapEditMode is not 2: $(cat "$ini")"
grep -q '^MapEditZoom=0' "$ini" || fail "MapEditZoom is not 0"
ls "$work/tmp" | grep -q '^GMK_TEMP' && ls -d "$work/tmp"/GMK_TEMP*/ > /dev/null 2>&1 && fail "the working folder was left behind"

# 6. Without a folder the same project reopens in event mode; F5 goes back to the lower layer.
"$quillon" > "$work/editor.log" 2>&1 &
editor_pid=$!
wait_window || fail "no editor window on the second run"
key F5
key alt+F4
wait_end || fail "the second run did not close"
[ "$status" -eq 0 ] || fail "the second run ended with $status"
grep -q '^MapEditMode=0' "$ini" || fail "the reopened project did not record MapEditMode 0: $(cat "$ini")"

echo "PASS"
exit 0
