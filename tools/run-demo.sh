#!/bin/sh
# Shows the User Scheduler at work (`make run`):
#   run-demo.sh BUILD_DIR
#
# In a Wine prefix of its own (BUILD_DIR/runprefix, apart from the tests'), it
# writes a User Schedule with two tasks due at once ("Clock" appends the time to
# C:\kzo-demo\times.txt every minute, "Greeting" shows a message), points the
# user's scheduler settings at it and starts tickr.exe in a Wine desktop with
# a notification area. Without a display it starts a virtual one (Xvfb) and
# saves a screenshot. The execution log is printed as the tasks run; Ctrl+C
# ends everything this script started.
set -e

build=$(cd "$1" && pwd)
export WINEPREFIX="$build/runprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
demo_windows='C:\kzo-demo'
demo="$WINEPREFIX/drive_c/kzo-demo"
log="$demo/tickr.log"

xvfb_pid=
tail_pid=
desktop_pid=

stop_all() {
  trap - EXIT INT TERM
  set +e  # whatever already ended by itself, the rest is still stopped
  [ -n "$tail_pid" ] && kill "$tail_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$desktop_pid" ] && wait "$desktop_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  echo
  echo "Stopped: the scheduler, Wine in $WINEPREFIX${xvfb_pid:+ and the virtual display $DISPLAY}."
}
trap stop_all EXIT
trap 'exit 130' INT TERM

display_works() {
  [ -n "$DISPLAY" ] || return 1
  command -v xdpyinfo >/dev/null 2>&1 || return 0
  xdpyinfo >/dev/null 2>&1
}

shot=
if ! display_works; then
  n=90
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  tries=0
  until [ -e "/tmp/.X$n-lock" ] && display_works; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && { echo "run-demo: the virtual display did not start" >&2; exit 1; }
    sleep 0.1
  done
  shot="$build/run-demo.png"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix $WINEPREFIX ..."
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
# A scheduler left from an earlier run would hold the single-instance mutex.
wineserver -k 2>/dev/null || true

mkdir -p "$demo"
rm -f "$log" "$demo/times.txt"
wine "$build/tools/demo/demo_schedule.exe" "$demo_windows" </dev/null | tr -d '\r'

# The programs side by side in one folder, as an installation has them: the
# scheduler's "Open Terminal" starts kzo.exe from its own folder.
mkdir -p "$demo/KZO"
cp "$build/tray/tickr.exe" "$build/terminal/kzo.exe" "$demo/KZO/"
wine explorer /desktop=KZO,1024x768 "$demo_windows\\KZO\\tickr.exe" >/dev/null 2>&1 </dev/null &
desktop_pid=$!
sleep 2
wine explorer /desktop=KZO,1024x768 "$demo_windows\\KZO\\kzo.exe" >/dev/null 2>&1 </dev/null &

cat <<EOF

The User Scheduler runs in the notification area of the Wine desktop "KZO"
(display $DISPLAY): right-click its clock icon for its menu. The Terminal
shows the schedule: F3 creates a task, F4 edits the selected one.
  "Clock"    appends the time to $demo/times.txt every minute
  "Greeting" shows a message in this minute
The first pass comes at once when started between seconds 11 and 49 of a
minute, else about one second after the next full minute.

Execution log ($log), Ctrl+C stops everything:
EOF

: >"$log"
tail -n +1 -F "$log" 2>/dev/null &
tail_pid=$!

if [ -n "$shot" ]; then
  # The log is written after the launches, with the message already shown.
  tries=0
  while [ ! -s "$log" ] && [ $tries -lt 750 ]; do tries=$((tries + 1)); sleep 0.1; done
  sleep 1
  import -window root "$shot" && echo "(screenshot of the virtual display: $shot)"
fi

while kill -0 "$desktop_pid" 2>/dev/null; do sleep 1; done
