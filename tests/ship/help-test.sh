#!/usr/bin/env bash
# The help file: every window's page is in the compiled TarvixHelp.chm, the
# compiled pages are the sources, and no link, contents entry or index entry
# points at a page or an anchor that does not exist.
# Usage: help-test.sh <TarvixHelp.chm> <help source folder>
set -euo pipefail
chm=$1
src=$(cd "$2" && pwd)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$chm" ] || { echo "FAIL: $chm was not built"; exit 1; }
command -v chmls >/dev/null || { echo "FAIL: chmls (package fp-utils) is missing"; exit 1; }

listing=$(chmls --no-page -n list "$chm" | tr -d '\r')
# The pages the windows open with "TarvixHelp.chm::/<page>".
window_pages=(index.htm wizard.htm advanced.htm values.htm backups.htm status.htm ramconfig.htm pinger.htm
              settings.htm tray.htm shortcuts.htm files.htm)
for page in "${window_pages[@]}" tarvix.css tarvix.hhc tarvix.hhk '#WINDOWS' '#SYSTEM'; do
  grep -qx "/$page" <<<"$listing" || fail "$page is not in $chm"
done
grep -q '^/\$WWKeywordLinks/' <<<"$listing" || fail "the compiled index is missing from $chm"

# Every page of the project is compiled in, unchanged.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mapfile -t project_files < <(sed -n '/^\[FILES\]/,/^\[/p' "$src/tarvix.hhp" | tr -d '\r' | grep -v '^\[' | grep -v '^$')
for f in "$src"/*.htm; do
  name=$(basename "$f")
  printf '%s\n' "${project_files[@]}" | grep -qx "$name" || fail "$name is not listed in tarvix.hhp"
done
for name in "${project_files[@]}"; do
  [ -f "$src/$name" ] || { fail "tarvix.hhp lists $name, which does not exist"; continue; }
  chmls extract "$chm" "/$name" "$out/$name" >/dev/null 2>&1 || { fail "$name cannot be read from $chm"; continue; }
  cmp -s "$src/$name" "$out/$name" || fail "$name in $chm differs from its source"
done

# A link target: a page of the project, and its anchor when one is named.
check_target() {
  local from=$1 target=$2 page anchor
  case "$target" in http:* | https:* | mailto:*) return ;; esac
  page=${target%%#*}
  anchor=""
  [ "$page" = "$target" ] || anchor=${target#*#}
  [ -n "$page" ] || page=$from
  if [ ! -f "$src/$page" ]; then fail "$from points at $target: no page $page"; return; fi
  if [ -n "$anchor" ] && ! grep -qi "name=\"$anchor\"" "$src/$page"; then
    fail "$from points at $target: no anchor $anchor in $page"
  fi
}
for f in "$src"/*.htm; do
  name=$(basename "$f")
  grep -q '<title>[^<]' "$f" || fail "$name has no title"
  grep -q 'href="tarvix.css"' "$f" || fail "$name does not use the stylesheet"
  while read -r target; do check_target "$name" "$target"; done \
    < <(grep -o 'href="[^"]*"' "$f" | sed 's/^href="//; s/"$//' | grep -v '^tarvix\.css$')
done
for f in "$src/tarvix.hhc" "$src/tarvix.hhk"; do
  n=0
  while read -r target; do check_target "$(basename "$f")" "$target"; n=$((n + 1)); done \
    < <(grep -o 'name="Local" value="[^"]*"' "$f" | sed 's/.*value="//; s/"$//')
  [ "$n" -gt 0 ] || fail "$(basename "$f") has no entries"
done
# Every page is reachable from the table of contents.
for f in "$src"/*.htm; do
  name=$(basename "$f")
  grep -q "value=\"$name\"" "$src/tarvix.hhc" || fail "$name is not in the table of contents"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "help file: ${#project_files[@]} files, ${#window_pages[@]} window pages, links, contents and index all resolve"
