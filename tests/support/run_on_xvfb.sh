#!/usr/bin/env bash
# Runs one window test on a private X server (Xvfb, 1280 x 1024) with Qt's xcb platform, so that
# a real pointer, real focus and real window stacking are exercised (there is no window manager).
# Xvfb picks a free display itself (-displayfd), so tests may run in parallel.
set -uo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb not installed (scripts/setup installs it)"; exit 1; }
dir=$(mktemp -d)
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
for _ in $(seq 100); do
  [ -s "$dir/display" ] && break
  kill -0 "$server" 2>/dev/null || { cat "$dir/log"; exit 1; }
  sleep 0.1
done
[ -s "$dir/display" ] || { echo "Xvfb did not start"; cat "$dir/log"; exit 1; }
export DISPLAY=":$(head -n1 "$dir/display")" QT_QPA_PLATFORM=xcb
# libxkbcommon-x11 strndup()s atom names that are not NUL-terminated, which strndup allows but
# ASan's strict string checks report; the later option wins.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
"$@"
