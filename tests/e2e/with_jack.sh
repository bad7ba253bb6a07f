#!/usr/bin/env bash
# Runs a command against a private JACK server on the dummy driver, started
# here and stopped again however the command ends: with_jack.sh CMD [ARGS...]
set -uo pipefail

name="cadenzo-test-$$-$RANDOM"
export JACK_DEFAULT_SERVER="$name"
export JACK_NO_AUDIO_RESERVATION=1

jackd --no-realtime -S -n "$name" -d dummy -r 48000 -p 64 >/dev/null 2>&1 &
jack_pid=$!

stop_jack() {
  # SIGTERM and wait: a server killed outright keeps its name slot.
  kill -TERM "$jack_pid" 2>/dev/null
  wait "$jack_pid" 2>/dev/null
}
trap stop_jack EXIT

if ! jack_wait -s "$name" -w -t 10 >/dev/null 2>&1; then
  echo "JACK server $name did not start" >&2
  exit 1
fi

"$@"
