#!/bin/sh
# Runs a command with an X display: the current one, or a virtual Xvfb display
# that ends with the command.
if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
