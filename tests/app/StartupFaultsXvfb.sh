#!/usr/bin/env bash
# The real editor on a virtual display under faults met at start-up and while it runs:
# - a damaged map tree shows its error box; dismissed late (after the splash has gone) the
#   editor goes on without the project and ends normally;
# - a settings file "GMK_RT.ini" too large to read is shown as such and is the same byte for
#   byte after the editor opened and closed the project;
# - a working folder name taken by a link makes the editor use a private folder of its own;
# - a main window destroyed under the editor (xdotool windowclose) ends it and frees the project;
#   a lost display connection does the same.
# Skips (status 77) when Xvfb or xdotool is missing.
# usage: StartupFaultsXvfb.sh QUILLON QUILLON_CLI
set -u
quillon=$1
cli=$2
source "$(dirname "$0")/XvfbKit.sh" quillon-faults

mkdir -p "$work/config" "$work/tmp" "$work/run" "$work/base"
chmod 700 "$work/tmp" "$work/run"
export QUILLON_CONFIG_DIR="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

start_editor() {
  "$quillon" "$@" > "$work/editor.log" 2>&1 &
  editor_pid=$!
}

# The editor's visible windows whose width is at least (or, with "-", below) a number: the
# main window is at least 720 wide, a message box less.
windows_wider() {
  local min=$1
  for id in $(xdotool search --onlyvisible --pid "$editor_pid" --name '.' 2> /dev/null); do
    local width
    width=$(xdotool getwindowgeometry --shell "$id" 2> /dev/null | sed -n 's/^WIDTH=//p')
    width=${width:-0}
    if [ "$min" -lt 0 ]; then
      [ "$width" -gt 100 ] && [ "$width" -lt $((-min)) ] && echo "$id"
    else
      [ "$width" -ge "$min" ] && echo "$id"
    fi
  done
}
# Waits for the main window; its id is in $window.
wait_window() {
  for _ in $(seq 200); do
    window=$(windows_wider 720 | head -n1)
    if [ -n "$window" ]; then
      xdotool windowfocus --sync "$window" 2> /dev/null
      sleep 0.3
      return 0
    fi
    kill -0 "$editor_pid" 2> /dev/null || return 1
    sleep 0.1
  done
  return 1
}
# Waits for a message box titled "Quillon" (the splash has no title); its id is in $box.
wait_box() {
  for _ in $(seq 200); do
    for id in $(xdotool search --onlyvisible --pid "$editor_pid" --name '^Quillon$' 2> /dev/null); do
      local width
      width=$(xdotool getwindowgeometry --shell "$id" 2> /dev/null | sed -n 's/^WIDTH=//p')
      if [ "${width:-0}" -lt 720 ]; then
        box=$id
        return 0
      fi
    done
    kill -0 "$editor_pid" 2> /dev/null || return 1
    sleep 0.1
  done
  return 1
}
# Presses Return in a window.
press_return() {
  xdotool windowfocus --sync "$1" 2> /dev/null
  sleep 0.2
  xdotool key --clearmodifiers Return
}
close_editor() {
  xdotool windowfocus --sync "$window" 2> /dev/null
  sleep 0.2
  xdotool key --clearmodifiers alt+F4
  wait_end 100 || fail "$1: the editor did not end on Alt+F4"
  [ "$status" -eq 0 ] || fail "$1: the editor ended with status $status"
}

start_display
"$cli" new-project "$work/base" Quest "Quest" > /dev/null || fail "quillon-cli new-project"
project="$work/base/Quest"
cp -a "$project" "$work/base/Broken"
cp -a "$project" "$work/base/Big"

# 1. A damaged map tree: the error box, dismissed after the splash's 2.5 s.
head -c 23 "$project/GMK_RT.kmt" > "$work/base/Broken/GMK_RT.kmt"
start_editor "$work/base/Broken"
wait_box || fail "damaged tree: no error box"
sleep 3.5
press_return "$box"
sleep 1
kill -0 "$editor_pid" 2> /dev/null || { wait "$editor_pid"; fail "damaged tree: the editor ended with status $? after the box"; }
wait_window || fail "damaged tree: no main window after the box"
close_editor "damaged tree"

# 2. A settings file past the reader's limit: told once, kept byte for byte.
ini="$work/base/Big/GMK_RT.ini"
{
  printf '[GMK_RT]\r\nGameTitle=Keep Me\r\n[Notes]\r\n'
  head -c 4194360 /dev/zero | tr '\0' 'x'
  printf '\r\n'
} > "$ini"
[ "$(stat -c %s "$ini")" -eq 4194400 ] || fail "the oversized settings file is $(stat -c %s "$ini") bytes"
cp "$ini" "$work/ini.before"
start_editor "$work/base/Big"
wait_box || fail "oversized settings: no notice"
sleep 3.5
press_return "$box"
wait_window || fail "oversized settings: no main window after the notice"
xdotool key --clearmodifiers F7
sleep 0.3
close_editor "oversized settings"
cmp -s "$ini" "$work/ini.before" || fail "oversized settings: GMK_RT.ini changed ($(stat -c %s "$ini") bytes)"

# 3. The working folder's name taken by a link: a private folder of the editor's own instead.
mkdir -p "$work/victim"
echo "victim" > "$work/victim/notes.txt"
rm -rf "$work/tmp/GMK_TEMP-$(id -u)"
ln -s "$work/victim" "$work/tmp/GMK_TEMP-$(id -u)"
start_editor "$project"
wait_window || { wait "$editor_pid"; fail "planted working folder: no main window (status $?)"; }
fresh=$(find "$work/run" -maxdepth 1 -name "GMK_TEMP-$(id -u)-*" -type d -perm 700 | head -n1)
[ -n "$fresh" ] || fail "planted working folder: no private folder under \$XDG_RUNTIME_DIR"
close_editor "planted working folder"
[ "$(ls -A "$work/victim")" = "notes.txt" ] && [ "$(cat "$work/victim/notes.txt")" = "victim" ] ||
  fail "planted working folder: the link's target was touched"
[ -e "$fresh" ] && fail "planted working folder: $fresh was left behind"
rm "$work/tmp/GMK_TEMP-$(id -u)"

# 4. The main window destroyed under the editor: it ends, saving nothing, and frees the project.
"$cli" edit "$project" 1 place 0 0 5000 > /dev/null || fail "quillon-cli edit before the start"
cp "$project/Map0001.kmu" "$work/map.before"
start_editor "$project"
wait_window || fail "destroyed window: no main window"
xdotool key --clearmodifiers F7
sleep 0.3
xdotool windowclose "$window" 2> /dev/null
wait_end 100 || fail "destroyed window: the editor keeps running without its window"
[ "$status" -ne 139 ] && [ "$status" -ne 134 ] || fail "destroyed window: the editor crashed (status $status)"
cmp -s "$project/Map0001.kmu" "$work/map.before" || fail "destroyed window: the map was written"
"$cli" edit "$project" 1 place 1 0 5000 > "$work/cli.log" 2>&1 || fail "destroyed window: the project stays locked: $(cat "$work/cli.log")"
# The next start is the one editor again.
start_editor "$project"
wait_window || fail "destroyed window: the next start shows no window"
close_editor "after a destroyed window"

# 5. The display connection lost: the editor ends and frees the project.
start_editor "$project"
wait_window || fail "lost display: no main window"
kill "$xvfb_pid"
wait "$xvfb_pid" 2> /dev/null
xvfb_pid=""
wait_end 100 || fail "lost display: the editor keeps running"
[ "$status" -ne 139 ] && [ "$status" -ne 134 ] || fail "lost display: the editor crashed (status $status)"
"$cli" edit "$project" 1 place 2 0 5000 > "$work/cli.log" 2>&1 || fail "lost display: the project stays locked: $(cat "$work/cli.log")"
start_display
start_editor "$project"
wait_window || fail "lost display: the next start shows no window"
close_editor "after a lost display"

echo "PASS"
