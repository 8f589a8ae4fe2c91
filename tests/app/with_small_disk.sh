#!/bin/sh
# Runs a test program with a tiny file system of its own mounted (64 KiB of
# tmpfs), named to the program in TUNELATHE_SMALL_DISK as a Unix path (a
# Windows test under Wine finds it on drive Z:). Without the right to mount,
# the program runs without it and its full-disk tests report that they were
# skipped.
runner="$1"
shift
disk=$(mktemp -d /tmp/tunelathe-small-disk.XXXXXX) || exit 1
if mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
    TUNELATHE_SMALL_DISK="$disk"
    export TUNELATHE_SMALL_DISK
    "$runner" "$@"
    status=$?
    umount "$disk"
else
    "$runner" "$@"
    status=$?
fi
rmdir "$disk"
exit $status
