#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the installed tree is complete and
# valid, and the installed program, started in a folder of its own, finds
# its sounds and instruction texts under share/vexlin and opens the design
# named on its command line.
set -u
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$(realpath "$work")/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install failed"; }

for f in bin/vexlin bin/vexlin-cli; do
  [ -x "$prefix/$f" ] || fail "$f is not installed as a program"
done
for f in share/vexlin/Exhaust.wav share/vexlin/Error.wav share/vexlin/instruct.doc \
         share/vexlin/VexlinSpIns.doc share/applications/vexlin.desktop \
         share/icons/hicolor/scalable/apps/vexlin.svg share/mime/packages/vexlin.xml; do
  [ -s "$prefix/$f" ] || fail "$f is missing or empty"
done

# The desktop entry starts the installed program with the file, names the
# icon and the design file type; the MIME type maps *.vxd to that type.
desktop=$prefix/share/applications/vexlin.desktop
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
fi
grep -qx 'Exec=vexlin %f' "$desktop" || fail "the desktop entry does not pass the file to vexlin"
grep -qx 'Icon=vexlin' "$desktop" || fail "the desktop entry does not name the icon"
grep -qx 'MimeType=application/x-vexlin-design;' "$desktop" || fail "the desktop entry does not claim .vxd files"
grep -q '<mime-type type="application/x-vexlin-design">' "$prefix/share/mime/packages/vexlin.xml" || fail "MIME type name"
grep -q '<glob pattern="\*.vxd"/>' "$prefix/share/mime/packages/vexlin.xml" || fail "MIME glob"
if command -v update-mime-database >/dev/null; then
  cp -r "$prefix/share/mime" "$work/mime"
  update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database rejects the MIME type"
  grep -q 'application/x-vexlin-design:\*\.vxd' "$work/mime/globs" || fail "the MIME database does not map *.vxd"
fi
head -c 200 "$prefix/share/icons/hicolor/scalable/apps/vexlin.svg" | grep -q '<svg' || fail "the icon is not an SVG file"

# Both programs answer --help on stdout with exit code 0.
for p in vexlin vexlin-cli; do
  out=$("$prefix/bin/$p" --help 2>"$work/err") || fail "$p --help failed"
  case $out in "Usage: $p "*) ;; *) fail "$p --help does not start with its usage line" ;; esac
  [ -s "$work/err" ] && fail "$p --help wrote on stderr: $(cat "$work/err")"
done

# Run from an empty folder, so only the installed data can be found.
mkdir "$work/run"
cd "$work/run" || fail "cd"
"$prefix/bin/vexlin-cli" --set eccFwdAngle=300 save "$work/design.vxd" >/dev/null 2>"$work/err" || fail "vexlin-cli save failed"
[ -s "$work/err" ] && fail "vexlin-cli wrote on stderr: $(cat "$work/err")"

log=$work/vexlin.log
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="vexlin.startup.info=true" \
  "$prefix/bin/vexlin" "$work/design.vxd" >"$log" 2>&1 &
pid=$!
data=$prefix/share/vexlin
expect=(
  "vexlin.startup: Exhaust.wav found at $data/Exhaust.wav"
  "vexlin.startup: Error.wav found at $data/Error.wav"
  "vexlin.startup: VexlinSpIns.doc loaded from $data/VexlinSpIns.doc"
  "vexlin.startup: instruct.doc loaded from $data/instruct.doc"
  "vexlin.startup: opened design $work/design.vxd"
)
for _ in $(seq 100); do
  grep -qF "${expect[-1]}" "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
for line in "${expect[@]}"; do
  grep -qxF "$line" "$log" || { cat "$log" >&2; fail "the installed program did not log: $line"; }
done
kill -TERM "$pid"
wait "$pid"
rc=$?
pid=""
[ $rc -eq 0 ] || { cat "$log" >&2; fail "the installed program ended with $rc after SIGTERM"; }
echo "ok: installed tree complete; the installed program found its data in $data and opened the design"
