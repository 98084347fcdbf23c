#!/usr/bin/env bash
# Sets up, builds and starts Tabcard under Wine on your display. Profiles and
# settings persist in a Wine prefix of their own (build/wine/user), memo
# files in ~/Tabcard.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" --win-only

memo_dir=${TABCARD_HOME:-$HOME/Tabcard}
mkdir -p "$memo_dir"
display_args=()
if [ -n "${DISPLAY:-}" ]; then
  display_args=(--display "$DISPLAY")
else
  cat >&2 <<'MSG'
run: no X display (DISPLAY is not set). Tabcard now runs on a private Xvfb
     display you cannot see. To use it, run this command from a desktop
     session, over "ssh -X", or with an X server such as Xvfb plus a VNC
     viewer (DISPLAY=:N). Press Ctrl+C to end it.
MSG
fi
exec bash "$root/tests/rig/wine-rig.sh" --build-dir "$root/build/win" --locale ja \
  --timeout 2147483647 --prefix "$root/build/wine/user" --workdir "$memo_dir" \
  "${display_args[@]}" -- "$root/build/win/bin/Tabcard.exe"
