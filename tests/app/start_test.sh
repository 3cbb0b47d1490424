#!/usr/bin/env bash
# Starting the program: a bad --tick-ms and an unknown option end it at once
# with exit code 2 and one message on stderr; a design that cannot be
# opened at start-up is named in one message and the program runs on (with
# the design it starts with) until it is told to end.
set -u
app=$1
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

# Refused command lines: "arguments|what stderr must contain".
cases=(
  "--tick-ms 0|vexlin: --tick-ms wants a whole number from 1 to 1000, not '0'"
  "--tick-ms 1001|vexlin: --tick-ms wants a whole number from 1 to 1000, not '1001'"
  "--tick-ms 5ms|vexlin: --tick-ms wants a whole number from 1 to 1000, not '5ms'"
  "--tick-ms -3|vexlin: --tick-ms wants a whole number from 1 to 1000, not '-3'"
  "--tick-ms|vexlin: --tick-ms needs a number of milliseconds"
  "--bogus|vexlin: unknown option '--bogus'"
  "-x|vexlin: unknown option '-x'"
  "a.vxd b.vxd|vexlin: only one design file can be opened, not 'b.vxd' as well"
)
for c in "${cases[@]}"; do
  args=${c%%|*}
  want=${c#*|}
  # shellcheck disable=SC2086
  timeout 60 "$app" $args >"$work/out" 2>"$work/err"
  rc=$?
  [ $rc -eq 2 ] || fail "vexlin $args: exit code $rc, not 2"
  [ -s "$work/out" ] && fail "vexlin $args wrote on stdout: $(cat "$work/out")"
  grep -qxF "$want" "$work/err" || fail "vexlin $args: stderr does not say \"$want\": $(cat "$work/err")"
  [ "$(grep -c '^vexlin:' "$work/err")" -eq 1 ] || fail "vexlin $args: more than one message: $(cat "$work/err")"
done

# A design that cannot be opened: one message naming the file, and the
# program starts all the same and ends cleanly when told to.
printf 'not a design' >"$work/broken.vxd"
for design in "$work/missing.vxd" "$work/broken.vxd"; do
  QT_LOGGING_RULES="vexlin.startup.info=true" "$app" "$design" >"$work/log" 2>&1 &
  pid=$!
  ready=""
  for _ in $(seq 300); do
    grep -qE '^vexlin.startup: (instruct.doc loaded from|Error Loading instruct.doc)' "$work/log" && { ready=1; break; }
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$ready" ] || { cat "$work/log" >&2; fail "vexlin $design did not start"; }
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || { cat "$work/log" >&2; fail "vexlin $design ended by itself"; }
  kill -TERM "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "vexlin $design did not end on SIGTERM"
  wait "$pid"
  rc=$?
  pid=""
  [ $rc -eq 0 ] || { cat "$work/log" >&2; fail "vexlin $design ended with $rc after SIGTERM"; }
  [ "$(grep -c '^vexlin:' "$work/log")" -eq 1 ] || { cat "$work/log" >&2; fail "vexlin $design: not exactly one message"; }
  grep -q "^vexlin: .*$design" "$work/log" || { cat "$work/log" >&2; fail "the message does not name $design"; }
  grep -q "opened design" "$work/log" && fail "vexlin $design logged it as opened"
done
# Told to end while it is still starting (its first start-up line is out,
# its windows not yet made): it ends cleanly all the same.
QT_LOGGING_RULES="vexlin.startup.info=true" "$app" "$work/missing.vxd" >"$work/log" 2>&1 &
pid=$!
for _ in $(seq 300); do
  grep -q '^vexlin.startup:' "$work/log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.01
done
kill -TERM "$pid"
for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "vexlin told to end while starting did not end"
wait "$pid"
rc=$?
pid=""
[ $rc -eq 0 ] || { cat "$work/log" >&2; fail "vexlin told to end while starting ended with $rc"; }

echo "ok: bad options refused with exit code 2; an unopenable design gives one message and the program runs"
