#!/usr/bin/env bash
# Runs an ALSA end-to-end test binary in one boot of a QEMU guest that has
# the ALSA sequencer (tests/alsa-vm/run-in-alsa-vm), sharing the source and
# build folders. Exits 77 (skipped) with a note when QEMU or a kernel to boot
# is missing: scripts/deps installs them where it can.
# Usage: with_alsa_vm.sh SOURCE_DIR BUILD_DIR TEST_BINARY [ARGS...]
set -u
source_dir=$1 build_dir=$2
shift 2
if ! command -v qemu-system-x86_64 >/dev/null; then
  echo "ALSA end-to-end test skipped: qemu-system-x86_64 is not installed (scripts/deps installs it)." >&2
  exit 77
fi
if ! ls /boot/vmlinuz-* >/dev/null 2>&1 || ! command -v busybox >/dev/null; then
  echo "ALSA end-to-end test skipped: no kernel in /boot or no busybox to boot the guest with (scripts/deps installs linux-image-amd64 and busybox-static)." >&2
  exit 77
fi
exec "$source_dir/tests/alsa-vm/run-in-alsa-vm" --timeout 300 --share "$source_dir" --share "$build_dir" \
  --cwd "$build_dir" -- "$@"
