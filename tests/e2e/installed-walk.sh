#!/usr/bin/env bash
# Tarvix from its setup program to its uninstaller, under Wine:
#  1. builds the `installer` target and the walk (tests_e2e), makes a fresh
#     Wine prefix and installs silently into C:\TarvixE2E;
#  2. runs the walk in that prefix: every feature through its windows, a
#     picture per step in build/artifacts/e2e-*.png;
#  3. uninstalls silently and checks that only what the user keeps is left:
#     the settings key and the backups.
# Usage: installed-walk.sh <build folder> <version> <tests_e2e.exe>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
walk=$3
setup="$build/Tarvix-$version-setup.exe"
source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Wine's windows need a display: the caller's, or a private Xvfb.
if [ -z "${DISPLAY:-}" ]; then exec "$source/tests/ui/with-display" "$0" "$@"; fi

# shellcheck source=../ship/checks.sh
source "$source/tests/ship/checks.sh"

echo "== building the installer and the walk"
cmake --build "$build" --target installer tests_e2e
[ -f "$setup" ] || { echo "FAIL: $setup was not built"; exit 1; }

# One whole cycle, install to uninstall, in a fresh prefix that reports the
# given Windows version (win7, win98, winxp).
walk_on() {
  local version=$1
  fresh_prefix "$build/wineprefix-e2e-$version"
  # The Windows version the prefix reports; the program takes its family from it.
  wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  wineserver -w
  drive_c="$WINEPREFIX/drive_c"
  target="$drive_c/TarvixE2E"
  menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvix"
  uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvix'
  settings_key='HKLM\SOFTWARE\Brimcove\Tarvix'
  run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

  echo "== silent install ($version)"
  wine "$setup" /S '/D=C:\TarvixE2E'
  wineserver -w
  check "Tarvix.exe installed" test -f "$target/Tarvix.exe"
  check "Backups folder created" test -d "$target/Backups"

  echo "== the walk ($version)"
  artifacts="$build/artifacts/e2e-$version"
  mkdir -p "$artifacts"
  rm -f "$artifacts"/e2e-*.png
  walk_start=$SECONDS
  walk_result=0
  TARVIX_INSTALLED_EXE='C:\TarvixE2E\Tarvix.exe' TARVIX_ARTIFACTS="$artifacts" \
    timeout 300 wine "$walk" --gtest_color=no || walk_result=$?
  echo "walk took $((SECONDS - walk_start)) s"
  check "the walk passed" test "$walk_result" -eq 0
  check "the walk saved its pictures" compgen -G "$artifacts/e2e-*.png" >/dev/null
  # Tarvix ends with the walk; anything else of the prefix ends here.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  backups=$(find "$target/Backups" -maxdepth 1 -iname '*.BCK' | wc -l)
  echo "backups left by the walk: $backups"

  # The walk leaves the start-with-Windows entry, so that the uninstaller has
  # one to remove.
  check "Run entry present before the uninstall" bash -c 'wine reg query "$1" /v Tarvix >/dev/null 2>&1' _ "$run_key"

  echo "== silent uninstall ($version)"
  wine 'C:\TarvixE2E\Uninstall.exe' /S '_?=C:\TarvixE2E'
  wineserver -w
  for f in Tarvix.exe Tarvix.movie TarvixMask.skn TarvixHelp.chm Ping.wav low-memory.wav; do
    check "$f removed" test ! -e "$target/$f"
  done
  check "Start menu entries removed" test ! -e "$menu"
  check "Run entry removed" bash -c '! wine reg query "$1" /v Tarvix >/dev/null 2>&1' _ "$run_key"
  check "uninstall entry removed" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$uninstall_key"
  check "settings key kept (silent answer: keep)" bash -c 'wine reg query "$1" >/dev/null 2>&1' _ "$settings_key"
  check "backups folder kept" test -d "$target/Backups"
  check "backups kept ($backups)" test "$(find "$target/Backups" -maxdepth 1 -iname '*.BCK' | wc -l)" -eq "$backups"
  # Run in place with _?=, the uninstaller cannot delete its own file (NSIS
  # documents it); besides it and Backups nothing is left in the folder.
  left=$(cd "$target" && find . -mindepth 1 -maxdepth 1 ! -name Backups ! -name Uninstall.exe | tr '\n' ' ')
  check "nothing else left in the install folder (${left:-nothing})" test -z "$left"
}

# Windows 7 for the NT family of today, Windows 98 for the 95/98/ME family
# (start hidden with the program's own notice, values as REG_SZ text) and
# Windows XP for the NT family of its day.
for version in win7 win98 winxp; do
  walk_on "$version"
done

finish_checks
