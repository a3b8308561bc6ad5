#!/usr/bin/env bash
# Tarvix from its setup program to its uninstaller, under Wine:
#  1. builds the `installer` target and the walk (tests_e2e), makes a fresh
#     Wine prefix and installs silently into C:\TarvixE2E;
#  2. runs the walk in that prefix: every feature through its windows, a
#     picture per step in build/artifacts/e2e-*.png;
#  3. uninstalls silently and checks that only what the user keeps is left:
#     the settings key and the backups.
#  4. does it once more on Windows 7 from a folder named with Cyrillic,
#     Chinese and Nordic letters, a shorter walk.
# Usage: installed-walk.sh <build folder> <version> <tests_e2e.exe>
set -Eeuo pipefail
# A step that stops the script says which it was.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND (exit $?)"' ERR
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
# given Windows version (win7, win98, winxp): installed into the Windows
# folder $2, the walk's tests $3 (a --gtest_filter pattern), the prefix and
# pictures named $4; given $5, an executable, the walk is run once more with
# it in Tarvix.exe's place, from a clean state, expecting code page $6.
walk_on() {
  local version=$1 folder=$2 tests=$3 name=$4 again=${5:-} again_acp=${6:-}
  # TARVIX_E2E_WALKS="win7 win7-any-folder" runs only the walks named.
  if [ -n "${TARVIX_E2E_WALKS:-}" ] && [[ " $TARVIX_E2E_WALKS " != *" $name "* ]]; then return 0; fi
  fresh_prefix "$build/wineprefix-e2e-$name"
  # The Windows version the prefix reports; the program takes its family
  # from it. A prefix just made can still be settling: one more try.
  target=""
  for attempt in 1 2; do
    if wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1 && wineserver -w &&
      target=$(winepath -u "$folder" 2>/dev/null) && [ -n "$target" ]; then
      break
    fi
    echo "the fresh prefix did not take the version or name the folder (try $attempt)"
    sleep 2
  done
  [ -n "$target" ] || { echo "FAIL: the fresh prefix for $name could not be set up"; exit 1; }
  drive_c="$WINEPREFIX/drive_c"
  menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvix"
  uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvix'
  settings_key='HKLM\SOFTWARE\Brimcove\Tarvix'
  run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

  echo "== silent install ($name) into $folder"
  # NSIS takes /D= and _?= only last and unquoted, also with blanks in the
  # path; wine would quote such an argument, cmd passes the line as it is.
  wine cmd /c "$(winepath -w "$setup" 2>/dev/null) /S /D=$folder"
  wineserver -w
  check "Tarvix.exe installed" test -f "$target/Tarvix.exe"
  check "Backups folder created" test -d "$target/Backups"

  echo "== the walk ($name)"
  artifacts="$build/artifacts/e2e-$name"
  mkdir -p "$artifacts"
  rm -f "$artifacts"/e2e-*.png
  walk_start=$SECONDS
  walk_result=0
  TARVIX_INSTALLED_EXE="$folder\\Tarvix.exe" TARVIX_ARTIFACTS="$artifacts" \
    timeout 300 wine "$walk" --gtest_color=no "--gtest_filter=$tests" || walk_result=$?
  echo "walk took $((SECONDS - walk_start)) s"
  check "the walk passed" test "$walk_result" -eq 0
  check "the walk saved its pictures" compgen -G "$artifacts/e2e-*.png" >/dev/null
  # Tarvix ends with the walk; anything else of the prefix ends here.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -n "$again" ]; then
    echo "== the walk again ($name) with $(basename "$again") as Tarvix.exe"
    find "$target/Backups" -maxdepth 1 -iname '*.BCK' -delete
    wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
    wine reg delete "$run_key" /v Tarvix /f >/dev/null 2>&1 || true
    cp "$again" "$target/Tarvix.exe"
    mkdir -p "$artifacts-again"
    rm -f "$artifacts-again"/e2e-*.png
    walk_start=$SECONDS
    walk_result=0
    TARVIX_INSTALLED_EXE="$folder\\Tarvix.exe" TARVIX_ARTIFACTS="$artifacts-again" TARVIX_PROGRAM_ACP="$again_acp" \
      timeout 300 wine "$walk" --gtest_color=no "--gtest_filter=$tests" || walk_result=$?
    echo "walk took $((SECONDS - walk_start)) s"
    check "the walk passed again with $(basename "$again")" test "$walk_result" -eq 0
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  backups=$(find "$target/Backups" -maxdepth 1 -iname '*.BCK' | wc -l)
  echo "backups left by the walk: $backups"

  # The walk leaves the start-with-Windows entry, so that the uninstaller has
  # one to remove.
  check "Run entry present before the uninstall" bash -c 'wine reg query "$1" /v Tarvix >/dev/null 2>&1' _ "$run_key"

  echo "== silent uninstall ($name)"
  wine cmd /c "cd /d $folder && Uninstall.exe /S _?=$folder"
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
  walk_on "$version" 'C:\TarvixE2E' InstalledWalk.EveryFeatureThroughItsWindows "$version"
done

# Once more, shorter, on Windows 7 from a folder whose name has Cyrillic,
# Chinese and Nordic letters, in a prefix whose ANSI code page is 1252 (Wine
# takes it from the locale; UTF-8 is the host side's encoding, so the folder
# reaches Windows intact through the command line and the environment).
if locale -a 2>/dev/null | grep -qix 'en_US.utf-\?8'; then any_lang=en_US.UTF-8; else any_lang=C.UTF-8; fi
# Wine honours the manifest's UTF-8 code page, as Windows 10 1903 and later
# do; the walk is run again with the program built without it, as Windows 7,
# 8 and early 10 run it, where only the wide calls reach the folder.
LANG=$any_lang LC_ALL=$any_lang walk_on win7 'C:\Users\Åsa\Программы\Tarvix 测试' InstalledWalk.FromAFolderOfAnyName \
  win7-any-folder "$(dirname "$walk")/TarvixAnsiCodePage.exe" 1252

finish_checks
