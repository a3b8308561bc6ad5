# Shared by the installer test and the installed walk (sourced, not run):
# counted checks, a fresh Wine prefix, and the closing summary.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

# Makes an empty Wine prefix at $1 and exports it; its server is ended on exit.
fresh_prefix() {
  echo "== fresh Wine prefix"
  export WINEPREFIX="$1" WINEDEBUG=-all
  # No Mono or Gecko questions, and no menu entries on the host's desktop.
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  trap 'wineserver -k 2>/dev/null || true' EXIT
  local start=$SECONDS
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  echo "prefix made in $((SECONDS - start)) s"
}

# Prints the time taken and fails the script when any check failed.
finish_checks() {
  echo "took $SECONDS s"
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}
