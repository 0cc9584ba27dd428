# What the editor's runs on a virtual display share; sourced with the work folder's prefix:
#   source XvfbKit.sh PREFIX
# It skips (status 77) when Xvfb or xdotool is missing, makes the work folder $work, and at exit
# stops the editor ($editor_pid) and the display ($xvfb_pid) and removes the folder. fail reports
# with the editor's log ($work/editor.log); start_display starts a display of our own and sets
# DISPLAY; wait_end [TENTHS] waits for the editor to end and leaves its exit status in $status.
for tool in Xvfb xdotool; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")
xvfb_pid=""
editor_pid=""
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  wait 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/editor.log" ] && sed 's/^/  editor: /' "$work/editor.log"
  exit 1
}

# Xvfb picks a free display number and writes it to descriptor 3.
start_display() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
}

wait_end() {
  for _ in $(seq "${1:-200}"); do
    if ! kill -0 "$editor_pid" 2> /dev/null; then
      wait "$editor_pid"
      status=$?
      editor_pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}
