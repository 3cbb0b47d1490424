#!/usr/bin/env bash
# The program as a user starts it: under a virtual X server it keeps
# running, keeps its memory flat and ends cleanly on SIGTERM; without a
# display it says so in one line instead of aborting.
set -u
app=$1
pid=""
runner=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" 2>&1)
rc=$?
[ $rc -eq 1 ] || fail "without a display the exit code was $rc"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "without a display it said more than one line: $out"
case $out in *vexlin-cli*) ;; *) fail "the no-display message does not point to vexlin-cli: $out" ;; esac

out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4711 "$app" 2>&1)
rc=$?
[ $rc -eq 1 ] || fail "with a display nobody serves the exit code was $rc"
case $out in *"DISPLAY=:4711"*) ;; *) fail "the message does not name the unreachable display: $out" ;; esac

# tools/install-deps.sh installs Xvfb: without it this test cannot do its
# work, which is a failure, not a pass.
command -v xvfb-run >/dev/null || fail "xvfb-run is not installed (tools/install-deps.sh installs it)"

log=$(mktemp)
QT_LOGGING_RULES="vexlin.startup.info=true" \
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$app" --tick-ms 5 >"$log" 2>&1 &
runner=$!
for _ in $(seq 50); do
  pid=$(pgrep -n -f "^$app --tick-ms 5" || true)
  [ -n "$pid" ] && break
  sleep 0.2
done
[ -n "$pid" ] || { cat "$log"; fail "the program did not start"; }
# Memory is measured once the program has started up (its windows are made
# and the instruction texts read: its last start-up line), not while a
# loaded machine is still starting it.
ready=""
for _ in $(seq 300); do
  grep -qE '^vexlin.startup: (instruct.doc loaded from|Error Loading instruct.doc)' "$log" && { ready=1; break; }
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$ready" ] || { cat "$log"; fail "the program did not log its start-up"; }
sleep 1
rss1=$(ps -o rss= -p "$pid") || fail "the program died"
sleep 4
rss2=$(ps -o rss= -p "$pid") || { cat "$log"; fail "the program died while running"; }
[ $((rss2 - rss1)) -lt 4096 ] || fail "memory grew from ${rss1} kB to ${rss2} kB in 4 s"
kill -TERM "$pid"
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end on SIGTERM"
wait $runner
rc=$?
pid=""
runner=""
[ $rc -eq 0 ] || { cat "$log"; fail "exit code $rc after SIGTERM"; }
rm -f "$log"
echo "ok: ran, memory ${rss1} -> ${rss2} kB, ended cleanly on SIGTERM"
