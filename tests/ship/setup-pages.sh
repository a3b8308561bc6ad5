# The setup program's pages as a user sees them (sourced by the installer
# test after its silent runs): starts the setup interactively on the test's
# X display, saves each page to $TARVIX_ARTIFACTS (build/artifacts) as
# setup-1-welcome.png, setup-2-folder.png and setup-3-finish.png, and checks
# that the welcome page shows Tarvix's own picture, not the installer tool's.
# Needs: $setup, $build, $source, and check/fail from checks.sh.

# The colour of a picture's pixel as "r g b".
pixel_of() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*srgb(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p'
}

# True when two "r g b" colours differ by at most $3 in every channel.
colours_near() {
  local -a a=($1) b=($2)
  local i
  for i in 0 1 2; do
    local d=$((a[i] - b[i]))
    [ "${d#-}" -le "$3" ] || return 1
  done
}

setup_pages() {
  local artifacts=${TARVIX_ARTIFACTS:-$build/artifacts}
  mkdir -p "$artifacts"
  if [ -z "${DISPLAY:-}" ]; then
    fail "setup pages need an X display (run through scripts/test)"
    return
  fi
  echo "== setup pages"
  wine "$setup" '/D=C:\TarvixPages' &
  local window
  window=$(timeout 60 xdotool search --sync --name "Tarvix Setup" 2>/dev/null | head -1)
  if [ -z "$window" ]; then
    fail "the setup window appeared"
    return
  fi
  local shot
  sleep 2
  shot="$artifacts/setup-1-welcome.png"
  import -window "$window" "$shot"
  # The welcome picture fills the page's left edge: its top corner is the
  # main window's band colour.
  local expected
  expected=$(pixel_of "$source/installer/art/welcome.bmp" 2 2)
  check "welcome page shows Tarvix's picture" colours_near "$(pixel_of "$shot" 2 2)" "$expected" 8
  xdotool key --window "$window" Return 2>/dev/null
  sleep 2
  import -window "$window" "$artifacts/setup-2-folder.png"
  # Install, and wait for the finish page that follows on its own.
  xdotool key --window "$window" Return 2>/dev/null
  sleep 6
  shot="$artifacts/setup-3-finish.png"
  import -window "$window" "$shot"
  check "finish page shows Tarvix's picture" colours_near "$(pixel_of "$shot" 2 2)" "$expected" 8
  check "setup pages saved" test -s "$artifacts/setup-2-folder.png"
  # Leave without starting the program: the finish page's Cancel is off, so
  # the prefix's server is ended instead.
  wineserver -k 2>/dev/null || true
}
