#!/bin/sh
# The ctest entry of the media service tests, under Wine or natively.
#
#   run_media_tests.sh EMULATOR TEST_PROGRAM WORK_DIR     (EMULATOR env natively)
#
# 1. Makes the test media in WORK_DIR with sox: a 60 s 440 Hz stereo tone 6 dB
#    below full scale as WAV and as Ogg Vorbis, and a text file named .wav.
# 2. Runs the program without any audio server (PULSE_SERVER points nowhere):
#    only the SoundWithoutAudioServer tests.
# 3. Starts the private audio server (scripts/audio-server) and the recorder
#    (tests/support/level_probe.sh), and runs every other test. The program
#    asks the recorder for stretches of the null sink's monitor through files in
#    WORK_DIR/probe, so each level belongs exactly to the phase it checks.
# 4. Starts a second server and runs the SoundServerGoesAway tests against it;
#    the program asks for that server to be stopped while it plays, by
#    writing WORK_DIR/stop-audio-server, and is told by
#    WORK_DIR/audio-server-stopped.
# 5. Stops the recorder and the servers, whatever happened.
# Fails when a run fails, skips a test or runs none.
set -u
emulator=$1
program=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

rm -rf "$work"
mkdir -p "$work/probe"
sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 60 sine 440 gain -6 || exit 1
sox -n -r 44100 -c 2 "$work/tone.ogg" synth 60 sine 440 gain -6 || exit 1
printf 'this is not a sound file\n' >"$work/not-a-sound.wav"
export MEDIA_TEST_DIR="$work"
export MONITOR_PROBE_DIR="$work/probe"

recorder=""
cleanup() {
    touch "$work/probe/stop"
    [ -n "$recorder" ] && wait "$recorder"
    "$root/scripts/audio-server" stop "$work/audio-server"
    "$root/scripts/audio-server" stop "$work/gone-server"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

status=0
run_phase() {  # phase gtest-filter
    log="$work/$1.log"
    TUNELATHE_AUDIO=$1 "$emulator" "$program" "--gtest_filter=$2" >"$log" 2>&1
    code=$?
    cat "$log"
    if [ $code -ne 0 ]; then
        status=1
    elif grep -q '^\[  SKIPPED \]' "$log" || ! grep -q '^\[  PASSED  \] [1-9]' "$log"; then
        echo "run_media_tests: phase $1 skipped tests or ran none"
        status=1
    fi
}

PULSE_SERVER="unix:$work/no-audio-server" run_phase none 'SoundWithoutAudioServer.*'

address=$("$root/scripts/audio-server" start "$work/audio-server") || exit 1
export PULSE_SERVER="$address"
sh "$here/../support/level_probe.sh" "$work/probe" &
recorder=$!
run_phase null-sink '-SoundWithoutAudioServer.*:SoundServerGoesAway.*'

gone=$("$root/scripts/audio-server" start "$work/gone-server") || exit 1
(
    while [ ! -e "$work/stop-audio-server" ]; do sleep 0.05; done
    "$root/scripts/audio-server" stop "$work/gone-server"
    touch "$work/audio-server-stopped"
) &
stopper=$!
PULSE_SERVER="$gone" run_phase server-gone 'SoundServerGoesAway.*'
touch "$work/stop-audio-server"
wait "$stopper"
exit $status
