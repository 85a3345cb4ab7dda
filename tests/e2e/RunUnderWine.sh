#!/bin/sh
# Runs one end-to-end test program (the emulator and its arguments) with its output in a file
# rather than in ctest's pipe, then prints it. The first Wine program of a session starts the
# Wine services, which inherit its output handles and outlive it; ctest would wait for them to
# close its pipe until the test timed out.
out=$(mktemp) || exit 1
"$@" </dev/null >"$out" 2>&1 &
pid=$!
# A timed-out test is stopped with its output shown, not left running under the server.
trap 'kill "$pid" 2>/dev/null; cat "$out"; rm -f "$out"; exit 124' INT TERM
wait "$pid"
status=$?
cat "$out"
rm -f "$out"
exit "$status"
