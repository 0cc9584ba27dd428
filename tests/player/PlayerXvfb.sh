#!/usr/bin/env bash
# The player in a real X window on a virtual display: it opens on the sample project titled with
# the game's title, takes keys (the decide key, the arrows, Alt+Enter and F4 for full screen and
# back) and keeps playing, and ends with status 0 when told to end. A project without a database
# shows the error box naming the file and ends with status 1 once the box is closed. Skips
# (status 77) when Xvfb or xdotool is missing.
# usage: PlayerXvfb.sh QUILLON_PLAYER QUILLON_MAKE_SAMPLE
set -u
player=$1
sample=$2
source "$(dirname "$0")/../app/XvfbKit.sh" quillon-player-xvfb

mkdir -p "$work/config" "$work/empty"
export QUILLON_CONFIG_DIR="$work/config" SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
"$sample" "$work/Sample" > /dev/null || fail "quillon-make-sample"
start_display

# The window named $1, or nothing after five seconds. (SDL's error box is not found by a search
# by name, so every window's name is compared.)
find_window() {
  for _ in $(seq 50); do
    local id
    for id in $(xdotool search --class '' 2> /dev/null); do
      [ "$(xdotool getwindowname "$id" 2> /dev/null)" = "$1" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

(cd "$work/Sample" && exec "$player" TestPlay HideTitle Window) 2> "$work/editor.log" &
editor_pid=$!
window=$(find_window "Sample Quest") || fail "no window titled with the game's title"
xdotool windowfocus "$window" 2> /dev/null
for keys in z Left alt+Return F4 x Down ctrl+Right F3; do
  xdotool key --window "$window" "$keys"
  sleep 0.2
done
kill -0 "$editor_pid" 2> /dev/null || fail "the player ended while playing"
kill -TERM "$editor_pid"
wait_end 50 || fail "the player did not end when told to"
[ "$status" -eq 0 ] || fail "the player ended with status $status"

(cd "$work/empty" && exec "$player" TestPlay) 2> "$work/editor.log" &
editor_pid=$!
box=$(find_window "quillon-player") || fail "no error box"
grep -q "GMK_RT.kdb: the file is missing" "$work/editor.log" || fail "the message does not name the file"
xdotool key --window "$box" Return
wait_end 50 || fail "the player did not end after the error box"
[ "$status" -eq 1 ] || fail "the player ended with status $status after the error box"
echo "PASS"
