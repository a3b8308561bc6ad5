#!/usr/bin/env bash
# The setup program and the portable zip, end to end under Wine:
#  1. builds the `installer` and `portable` targets (nothing else);
#  2. checks the zip holds every file in a Tarvix folder and an empty Backups;
#  3. installs silently into a fresh Wine prefix and checks the files, the
#     Backups folder, the Start menu entries and the uninstall entry;
#  4. uninstalls silently and checks that the program, its Start menu entries,
#     its uninstall entry and its Run entry are gone while the settings key and
#     the backups are kept;
#  5. installs again and uninstalls with /PURGE: settings and backups go too;
#  6. runs the setup as a user would and saves a picture of each page.
# Usage: installer-test.sh <build folder> <version>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
setup="$build/Tarvix-$version-setup.exe"
zip="$build/Tarvix-$version-portable.zip"
source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
files=(Tarvix.exe Tarvix.movie TarvixMask.skn TarvixHelp.chm Ping.wav low-memory.wav)
# Where each packaged file comes from: the build's executable and help file,
# the other files straight from assets/.
origin() {
  case "$1" in
    Tarvix.exe | TarvixHelp.chm) echo "$build/$1" ;;
    *) echo "$source/assets/$1" ;;
  esac
}

# shellcheck source=checks.sh
source "$source/tests/ship/checks.sh"
# shellcheck source=setup-pages.sh
source "$source/tests/ship/setup-pages.sh"

echo "== building the installer and portable targets"
cmake --build "$build" --target installer portable
[ -f "$setup" ] || { echo "FAIL: $setup was not built"; exit 1; }
[ -f "$zip" ] || { echo "FAIL: $zip was not built"; exit 1; }

echo "== portable zip"
listing=$(cd "$build" && cmake -E tar tf "$zip")
for f in "${files[@]}"; do
  check "zip holds Tarvix/$f" grep -qx "Tarvix/$f" <<<"$listing"
done
check "zip holds the Backups folder" grep -qx "Tarvix/Backups/\?" <<<"$listing"
check "Backups in the zip is empty" bash -c '! grep -q "^Tarvix/Backups/." <<<"$1"' _ "$listing"
check "zip holds nothing outside Tarvix/" bash -c '! grep -qv "^Tarvix/" <<<"$1"' _ "$listing"
unpacked="$build/portable-check"
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
for f in "${files[@]}"; do
  check "zip's Tarvix/$f equals $(origin "$f")" cmp -s "$unpacked/Tarvix/$f" "$(origin "$f")"
done
rm -rf "$unpacked"

fresh_prefix "$build/wineprefix-install"
drive_c="$WINEPREFIX/drive_c"
target="$drive_c/TarvixTest"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvix"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvix'
settings_key='HKLM\SOFTWARE\Brimcove\Tarvix\Settings\MainSettings'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
reg_has_key() { wine reg query "$1" >/dev/null 2>&1; }
reg_has_value() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }

install() {
  wine "$setup" /S '/D=C:\TarvixTest'
  wineserver -w
}

echo "== silent install"
install
for f in "${files[@]}"; do
  check "installed $f equals $(origin "$f")" cmp -s "$target/$f" "$(origin "$f")"
done
check "Uninstall.exe installed" test -f "$target/Uninstall.exe"
check "Backups folder created" test -d "$target/Backups"
check "Start menu entry Tarvix" test -f "$menu/Tarvix.lnk"
check "Start menu entry Tarvix Help" test -f "$menu/Tarvix Help.lnk"
check "Start menu entry Uninstall Tarvix" test -f "$menu/Uninstall Tarvix.lnk"
check "uninstall entry written" reg_has_key "$uninstall_key"
uninstall_string=$(wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | tr -d '\r' || true)
check "uninstall entry points at the uninstaller" grep -qiF 'C:\TarvixTest\Uninstall.exe' <<<"$uninstall_string"
version_line=$(wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r' || true)
check "uninstall entry carries version $version" grep -qF "$version" <<<"$version_line"

# What a user's Tarvix leaves behind: settings, a Run entry and a backup.
wine reg add "$settings_key" /v chkRunMainProgram /t REG_SZ /d 1 /f >/dev/null 2>&1
wine reg add "$run_key" /v Tarvix /t REG_SZ /d '"C:\TarvixTest\Tarvix.exe"' /f >/dev/null 2>&1
printf '#2026-12-07#\r\n#14:05:09#\r\n7\r\n' >"$target/Backups/001.BCK"
check "Run entry present before uninstalling" reg_has_value "$run_key" Tarvix

echo "== silent uninstall"
wine 'C:\TarvixTest\Uninstall.exe' /S '_?=C:\TarvixTest'
wineserver -w
for f in "${files[@]}"; do
  check "$f removed" test ! -e "$target/$f"
done
# Run in place with _?=, the uninstaller cannot delete its own file; that is
# what NSIS documents. Run normally it copies itself away first.
check "Start menu entries removed" test ! -e "$menu"
check "Run entry removed" bash -c '! wine reg query "$1" /v Tarvix >/dev/null 2>&1' _ "$run_key"
check "uninstall entry removed" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$uninstall_key"
check "settings key kept (silent answer: keep)" reg_has_value "$settings_key" chkRunMainProgram
check "backups kept" test -f "$target/Backups/001.BCK"

echo "== install again, uninstall with /PURGE"
install
check "reinstall keeps the old backups" test -f "$target/Backups/001.BCK"
check "reinstalled Tarvix.exe" test -f "$target/Tarvix.exe"
# Without _?= the uninstaller copies itself to the temporary folder and
# returns at once; wineserver -w waits for the copy to finish.
wine 'C:\TarvixTest\Uninstall.exe' /S /PURGE
wineserver -w
check "Tarvix.exe removed" test ! -e "$target/Tarvix.exe"
check "settings key removed with /PURGE" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ 'HKLM\SOFTWARE\Brimcove\Tarvix'
check "backups removed with /PURGE" test ! -e "$target/Backups"
check "install folder removed" test ! -e "$target"

setup_pages
finish_checks
