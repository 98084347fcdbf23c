#!/usr/bin/env bash
# Runs one Windows program under Wine with a private prefix, its own Xvfb
# (unless a display is given), a chosen locale and a hard time limit, and
# always ends exactly what it started.
#
#   wine-rig.sh [--build-dir DIR] [--locale ja|c] [--timeout SEC]
#               [--prefix DIR] [--workdir DIR] [--display :N] -- PROGRAM [ARGS...]
#
# --prefix keeps a persistent prefix (created from the template when missing);
# without it every run gets a fresh copy of the template, removed afterwards,
# whose Documents, Desktop, ... are folders of its own, not the home directory.
# The program sees TABCARD_ARTIFACTS, a Windows path of DIR/artifacts.
set -u

build_dir=${TABCARD_BUILD:-$PWD}
locale=ja
limit=300
prefix=
workdir=
display=${RIG_DISPLAY:-}
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir=$2; shift 2 ;;
    --locale) locale=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --workdir) workdir=$2; shift 2 ;;
    --display) display=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-rig: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -ge 1 ] || { echo "wine-rig: no program given" >&2; exit 2; }
build_dir=$(cd "$build_dir" && pwd)
rig_root=$build_dir/wine
template=$rig_root/template
locales=$rig_root/locale
mkdir -p "$rig_root" "$build_dir/artifacts"

export WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries on the host for the shortcuts
# a program creates (winemenubuilder writes them into ~/.local/share).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset WINESERVER

die() { echo "wine-rig: $*" >&2; exit 1; }

# The user-visible settings a test prefix needs: no 2 s wait per hidden window
# without a window manager, no crash dialog, Japanese fonts under Windows names.
write_settings_reg() {
  local gothic='"IPAGothic"' pgothic='"IPAPGothic"'
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS UI Gothic" "ＭＳ ゴシック" "MS Gothic" "MS Sans Serif"; do
      printf '"%s"=%s\r\n' "$f" "$gothic"
    done
    for f in "ＭＳ Ｐゴシック" "MS PGothic"; do
      printf '"%s"=%s\r\n' "$f" "$pgothic"
    done
    printf '\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$1"
}

find_marlett() {
  local f
  for f in /usr/share/wine/fonts/marlett.ttf "$rig_root/marlett.ttf"; do
    [ -f "$f" ] && { echo "$f"; return; }
  done
  # Marlett alone, taken from Debian's fonts-wine without installing the rest of it.
  local tmp; tmp=$(mktemp -d)
  if (cd "$tmp" && apt-get download -qq fonts-wine >/dev/null 2>&1) && dpkg-deb -x "$tmp"/fonts-wine_*.deb "$tmp/x" 2>/dev/null; then
    cp "$tmp/x/usr/share/wine/fonts/marlett.ttf" "$rig_root/marlett.ttf" 2>/dev/null && echo "$rig_root/marlett.ttf"
  fi
  rm -rf "$tmp"
}

boot_template() {
  [ -f "$template/.ready" ] && return 0
  rm -rf "$template"
  local reg; reg=$(mktemp --suffix=.reg)
  write_settings_reg "$reg"
  WINEPREFIX=$template wineboot -i >/dev/null 2>&1 || die "wineboot failed"
  WINEPREFIX=$template wine reg import "$(winepath_of "$reg")" >/dev/null 2>&1 || die "reg import failed"
  WINEPREFIX=$template wineserver -w
  local m; m=$(find_marlett)
  [ -n "$m" ] && cp "$m" "$template/drive_c/windows/Fonts/"
  rm -f "$reg"
  touch "$template/.ready"
}

winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

ensure_locale() {
  [ -d "$locales/ja_JP.UTF-8" ] && return 0
  mkdir -p "$locales"
  localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1 || [ -d "$locales/ja_JP.UTF-8" ] ||
    die "localedef ja_JP failed (is the locales package installed?)"
}

# One boot per build tree, even when ctest runs several tests at once.
exec 8>"$rig_root/.lock"
flock -w 300 8 || die "timed out waiting for the template lock"
boot_template
[ "$locale" = ja ] && ensure_locale
flock -u 8

run_dir=$(mktemp -d "$rig_root/run.XXXXXX")
xvfb_pid=
cleanup() {
  trap - EXIT INT TERM HUP
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
  [ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
  rm -rf "$run_dir"
}
trap cleanup EXIT INT TERM HUP

if [ -n "$prefix" ]; then
  if [ ! -f "$prefix/.ready" ]; then
    rm -rf "$prefix"; mkdir -p "$(dirname "$prefix")"; cp -a "$template" "$prefix"
  fi
  export WINEPREFIX=$prefix
else
  cp -a "$template" "$run_dir/prefix"
  export WINEPREFIX=$run_dir/prefix
  # Wine links the user's Documents, Desktop, ... to the home directory: a
  # test that writes there (an installer does) must stay inside its prefix.
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] && rm -f "$link" && mkdir "$link"
  done
fi

if [ -z "$display" ]; then
  mkfifo "$run_dir/displayfd"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/displayfd" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 10 n < "$run_dir/displayfd" || die "Xvfb did not start"
  display=:$n
fi
export DISPLAY=$display

# The locale goes to Wine only: bash itself would warn about a LOCPATH locale.
case "$locale" in
  ja) locale_env=(LOCPATH="$locales" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8) ;;
  c) locale_env=(-u LOCPATH LANG=C.UTF-8 LC_ALL=C.UTF-8) ;;
  *) die "unknown locale $locale" ;;
esac

[ -n "$workdir" ] || { workdir=$run_dir/cwd; mkdir -p "$workdir"; }
export TABCARD_ARTIFACTS=$(winepath_of "$build_dir/artifacts")
export TABCARD_RIG_DISPLAY=$display

program=$(realpath -- "$1") || die "no program $1"; shift
wineserver -p
cd "$workdir" || die "no work directory $workdir"
timeout --kill-after=5 "$limit" env "${locale_env[@]}" wine "$program" "$@" &
child=$!
wait "$child"
status=$?
[ "$status" -eq 124 ] && echo "wine-rig: $(basename "$program") timed out after ${limit}s" >&2
exit "$status"
