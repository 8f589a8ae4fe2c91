#!/bin/sh
# The recorder of the media tests: records the private audio server's null
# sink monitor whenever the test program asks, and answers with its levels.
#
#   level_probe.sh DIR    (PULSE_SERVER set to the server's address)
#
# The program writes DIR/N.request holding a duration in milliseconds (it
# appears under that name in one step). The recorder records that long from
# then on and answers with DIR/N.level (also in one step): one line
#   peak-overall peak-left peak-right rms-peak-overall rms-peak-left rms-peak-right
# in dB full scale as sox's stats report them (rms-peak: the loudest 50 ms
# window), -999 for silence. It ends when DIR/stop appears.
set -u
dir=$1

answer() {  # request
    base=${1%.request}
    ms=$(cat "$1")
    rm -f "$1"
    # Whole stereo frames of 16-bit samples at 44.1 kHz.
    bytes=$((44100 * ms / 1000 * 4))
    parec -d tunelathe_null.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 2>>"$dir/recorder.log" |
        head -c "$bytes" >"$base.raw"
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$base.raw" -n stats 2>&1 |
        awk '/^Pk lev dB/ { peak = $4 " " $5 " " $6 }
             /^RMS Pk dB/ { rms = $4 " " $5 " " $6 }
             END { print peak, rms }' |
        sed 's/-inf/-999/g' >"$base.level.part"
    mv "$base.level.part" "$base.level"
}

while [ ! -e "$dir/stop" ]; do
    for request in "$dir"/*.request; do
        [ -e "$request" ] && answer "$request"
    done
    sleep 0.02
done
