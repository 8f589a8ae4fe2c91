#!/bin/sh
# Runs a test program of the playlist application with songs to play and a
# private audio server to play them on.
#
#   with_audio_server.sh EMULATOR TEST_PROGRAM WORK_DIR [ARGS...]
#
# Makes three 20 s tones and one 1 s tone as WAV files in WORK_DIR (named to
# the program in PLAYBACK_TEST_DIR, a Unix path), starts the private audio
# server (scripts/audio-server), runs the program, and stops the server
# whatever happened. Fails when the run fails, skips a test or runs none.
set -u
emulator=$1
program=$2
work=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

rm -rf "$work"
mkdir -p "$work"
for tone in first:440 second:550 third:660; do
    sox -n -r 44100 -c 2 -b 16 "$work/${tone%%:*}.wav" synth 20 sine "${tone#*:}" gain -6 || exit 1
done
sox -n -r 44100 -c 2 -b 16 "$work/short.wav" synth 1 sine 880 gain -6 || exit 1
export PLAYBACK_TEST_DIR="$work"

trap '"$root/scripts/audio-server" stop "$work/audio-server"' EXIT
trap 'exit 1' INT TERM HUP
PULSE_SERVER=$("$root/scripts/audio-server" start "$work/audio-server") || exit 1
export PULSE_SERVER

log="$work/run.log"
"$emulator" "$program" "$@" >"$log" 2>&1
code=$?
cat "$log"
[ $code -ne 0 ] && exit $code
if grep -q '^\[  SKIPPED \]' "$log" || ! grep -q '^\[  PASSED  \] [1-9]' "$log"; then
    echo "with_audio_server: tests were skipped or none ran"
    exit 1
fi
exit 0
