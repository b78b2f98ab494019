# Shared by the install checks: runs the program under ROOT/usr as a person runs it, away from
# the build folder, and fails with a message when it does not work from there.
run_installed() {
  local root=$1 version=$2
  local program=$root/usr/bin/tarvesh
  [ "$("$program" --version)" = "tarvesh $version" ] || fail "--version says $("$program" --version)"
  # A script needs the atlases, the cursor picture and the staff pictures of the data folder.
  local work
  work=$(mktemp -d)
  printf 'key 53\nkey 72\nsave-bitmap page.png\ndump state.json\n' >"$work/s.tvs"
  (cd "$work" && "$program" --script s.tvs) || fail "the script did not run from $program"
  [ -s "$work/page.png" ] || fail "the script wrote no page picture"
  grep -q '"NoteMode"' "$work/state.json" || fail "the script wrote no dump"
  rm -rf "$work"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
