#!/usr/bin/env bash
# Runs a command against PipeWire's JACK instead of jackd: a private
# `pipewire` with Debian's default configuration (a dummy driver) in a
# runtime folder of its own, the command under `pw-jack` with a fixed
# quantum, and the server stopped again however the command ends:
#   with_pipewire.sh CMD [ARGS...]
# Exits 77 (skipped) where pipewire or pw-jack is not installed.
set -uo pipefail

for tool in pipewire pw-jack; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (Debian: pipewire pipewire-jack): the PipeWire runs are skipped" >&2
    exit 77
  fi
done

XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
export PIPEWIRE_QUANTUM=1024/48000
unset JACK_DEFAULT_SERVER
pipewire >"$XDG_RUNTIME_DIR/log" 2>&1 &
pid=$!

stop_pipewire() {
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -rf "$XDG_RUNTIME_DIR"
}
trap stop_pipewire EXIT

for _ in $(seq 200); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.05; done
if [ ! -S "$XDG_RUNTIME_DIR/pipewire-0" ]; then
  echo "pipewire did not start:" >&2
  cat "$XDG_RUNTIME_DIR/log" >&2
  exit 1
fi

pw-jack "$@"
