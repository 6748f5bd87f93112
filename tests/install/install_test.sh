#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the installed program as a user meets it:
# the tree holds the program, layouts, sheets, seed database, desktop entry, icon and metainfo; the
# desktop entry and metainfo validate; started with an empty home, the program makes the database in
# that home's data folder, a second copy on it is refused, a copy killed mid-run does not lock the
# user out, --reset-database keeps the old file; and nothing is ever written under the prefix.
#   install_test.sh <build folder> <source folder>
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
dest=$work/dest
prefix=/usr
root=$dest$prefix
DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >/dev/null

# The installed tree.
share=$root/share/nutricounsel
for f in bin/nutricounsel share/nutricounsel/seed/yfdb.dbz share/nutricounsel/about.ini \
         share/nutricounsel/fonts/NcReportSans-Regular.otf share/nutricounsel/fonts/NcReportSans-Bold.otf \
         share/applications/org.nutricounsel.nutricounsel.desktop \
         share/metainfo/org.nutricounsel.nutricounsel.metainfo.xml \
         share/icons/hicolor/scalable/apps/nutricounsel.svg; do
  [ -f "$root/$f" ] || fail "missing $f"
done
[ -x "$root/bin/nutricounsel" ] || fail "program not executable"
layouts=$(find "$source" -path "$source/build" -prune -o -path '*/layouts/*.rav' -print)
[ -n "$layouts" ] || fail "no layouts in the sources"
for layout in $layouts; do
  cmp -s "$layout" "$share/$(basename "$layout")" || fail "layout $(basename "$layout") not installed"
done
sheets=$(find "$share/sp" -name '*.jpg' | wc -l)
[ "$sheets" -eq "$(ls "$build/bin/sp" | wc -l)" ] && [ "$sheets" -gt 0 ] || fail "recipe sheets: $sheets installed"
for size in 16 22 24 32 48 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/nutricounsel.png
  [ -f "$png" ] || fail "icon ${size}x${size} missing"
  # width and height from the PNG header
  [ "$(od -An -j16 -N8 -tx1 "$png" | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] \
    || fail "icon ${size}x${size} has another size"
done
grep -q '^Icon=nutricounsel$' "$root/share/applications/org.nutricounsel.nutricounsel.desktop" || fail "desktop icon"
grep -qx "Exec=$prefix/bin/nutricounsel" "$root/share/applications/org.nutricounsel.nutricounsel.desktop" || fail "desktop exec"
desktop-file-validate "$root/share/applications/org.nutricounsel.nutricounsel.desktop"
appstreamcli validate --no-net "$root/share/metainfo/org.nutricounsel.nutricounsel.metainfo.xml" >/dev/null \
  || { appstreamcli validate --no-net "$root/share/metainfo/org.nutricounsel.nutricounsel.metainfo.xml"; fail "metainfo"; }
# The installed seed is a fresh database, not the build folder's working copy.
cmp -s "$share/seed/yfdb.dbz" "$build/seed/yfdb.dbz" || fail "seed database is not the fresh one"

snapshot() { (cd "$dest" && find . -printf '%p %s %T@ %m\n' | sort); }
snapshot >"$work/before"

home=$work/home
mkdir -p "$home"
# A bare environment with the temporary home; the program replaces env, so $! is the program itself.
run=(env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen "$root/bin/nutricounsel")
program() { "${run[@]}" "$@"; }
data=$home/.local/share/nutricounsel
db=$data/yfdb.dbz

# --version and --help need no display and write nothing.
program --version | grep -qx 'nutricounsel [0-9.]*' || fail "--version"
program --help | grep -q -- '--reset-database' || fail "--help lists --reset-database"
[ ! -e "$home/.local" ] || fail "--help or --version wrote into the home"
if program --no-such-option 2>/dev/null; then fail "unknown option accepted"; fi

# First start, the real program offscreen (splash, main window): the database appears in the user's
# data folder, made from the seed; while it runs, a second copy on the same database is refused.
"${run[@]}" >"$work/first.log" 2>&1 &
first=$!
pids+=("$first")
for _ in $(seq 100); do [ -f "$db.lock" ] && [ -f "$db" ] && break; sleep 0.1; done
[ -f "$db.lock" ] || { cat "$work/first.log"; fail "the running program holds no lock on its database"; }
cmp -s "$db" "$share/seed/yfdb.dbz" || fail "the new database is not the seed"
sleep 1
kill -0 "$first" 2>/dev/null || { cat "$work/first.log"; fail "the program ended by itself"; }
set +e
program --prepare-only >/dev/null 2>"$work/second.err"
second=$?
set -e
[ "$second" -eq 1 ] || fail "second copy on the same database exited with $second"
grep -q '已经在使用这个数据库文件' "$work/second.err" || fail "second copy did not say why: $(cat "$work/second.err")"
# A copy that dies without cleaning up does not lock the user out.
kill -9 "$first" 2>/dev/null
{ wait "$first"; } 2>/dev/null || true
out=$(program --prepare-only) || fail "a killed copy's lock kept the next start out"
[ "$out" = "$db" ] || fail "--prepare-only said '$out', not '$db'"

# --reset-database keeps the old file beside the fresh one.
echo "not the seed" >>"$db"
program --prepare-only --reset-database >/dev/null
cmp -s "$db" "$share/seed/yfdb.dbz" || fail "reset did not start from the seed"
kept=$(ls "$data" | grep -c '^yfdb\.dbz\.[0-9]\{8\}-[0-9]\{6\}$')
[ "$kept" -eq 1 ] || fail "reset kept $kept old files"

# Nothing was written under the prefix.
snapshot >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "files under the prefix changed"

# Installed into the home (the second way of installing): the data folder is the share folder, and
# installing again replaces the shipped files but never her database.
local=$home/.local
cmake --install "$build" --prefix "$local" >/dev/null
out=$(env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$local/bin/nutricounsel" --prepare-only)
[ "$out" = "$db" ] || fail "home install: --prepare-only said '$out', not '$db'"
grep -qx "Exec=$local/bin/nutricounsel" "$local/share/applications/org.nutricounsel.nutricounsel.desktop" \
  || fail "home install: the menu entry does not name the program in ~/.local/bin"
echo "her records" >>"$db"
cp "$db" "$work/hers"
cmake --install "$build" --prefix "$local" >/dev/null
cmp -s "$db" "$work/hers" || fail "installing again changed her database"
echo "installed tree and first start: ok"
