#!/usr/bin/env bash
# Runs a command against a private JACK server on the dummy driver, started
# here and stopped again however the command ends: with_jack.sh CMD [ARGS...]
# A test may stop the server and start it again under the same name: the
# command line is in CADENZO_JACKD, and the server that runs writes its
# process id to the file CADENZO_JACKD_PIDFILE names; that one is stopped at
# the end. CADENZO_JACK_PERIOD sets the period (64 frames by default).
set -uo pipefail

name="cadenzo-test-$$-$RANDOM"
export JACK_DEFAULT_SERVER="$name"
export JACK_NO_AUDIO_RESERVATION=1
export CADENZO_JACKD="jackd --no-realtime -S -n $name -d dummy -r 48000 -p ${CADENZO_JACK_PERIOD:-64}"
CADENZO_JACKD_PIDFILE="$(mktemp)"
export CADENZO_JACKD_PIDFILE

# A server killed outright (a test's timeout) keeps its slot in JACK's
# shared registry, and after a few the next server refuses to start ("Too
# many servers already active"). With no server running on this machine,
# whatever the registry holds is stale: it goes.
if ! pgrep -x jackd >/dev/null && ! pgrep -x jackdbus >/dev/null; then
  rm -rf /dev/shm/jack-shm-registry /dev/shm/jack-[0-9]* /dev/shm/jack_* 2>/dev/null
fi

$CADENZO_JACKD >/dev/null 2>&1 &
echo $! >"$CADENZO_JACKD_PIDFILE"

running() {
  # A process that has ended but not been reaped yet counts as gone.
  [ -r "/proc/$1/stat" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat"
}

stop_jack() {
  # SIGTERM and wait: a server killed outright keeps its name slot.
  local pid
  pid=$(cat "$CADENZO_JACKD_PIDFILE")
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 200); do running "$pid" || break; sleep 0.05; done
  wait 2>/dev/null
  rm -f "$CADENZO_JACKD_PIDFILE"
}
trap stop_jack EXIT

if ! jack_wait -s "$name" -w -t 10 >/dev/null 2>&1; then
  echo "JACK server $name did not start" >&2
  exit 1
fi

"$@"
