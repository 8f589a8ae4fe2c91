#!/bin/sh
# The recorder of the sound tests: records the private audio server's null
# sink monitor whenever the test program asks, and answers with what it heard.
#
#   level_probe.sh DIR    (PULSE_SERVER set to the server's address)
#
# The program writes DIR/N.request holding a duration in milliseconds (it
# appears under that name in one step). The recorder records that long from
# then on and answers with DIR/N.level (also in one step): one line
#   peak-overall peak-left peak-right rms-peak-overall rms-peak-left rms-peak-right frequency
# levels in dB full scale as sox's stats report them (rms-peak: the loudest
# 50 ms window), -999 for silence; frequency: sox's rough estimate of the
# left channel's in Hz, which tells one test tone from another. It ends when
# DIR/stop appears.
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
    levels=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$base.raw" -n stats 2>&1 |
        awk '/^Pk lev dB/ { peak = $4 " " $5 " " $6 }
             /^RMS Pk dB/ { rms = $4 " " $5 " " $6 }
             END { print peak, rms }' |
        sed 's/-inf/-999/g')
    frequency=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$base.raw" -n remix 1 stat 2>&1 |
        awk '/^Rough +frequency/ { print $3 }')
    echo "$levels ${frequency:-0}" >"$base.level.part"
    mv "$base.level.part" "$base.level"
}

while [ ! -e "$dir/stop" ]; do
    for request in "$dir"/*.request; do
        [ -e "$request" ] && answer "$request"
    done
    sleep 0.02
done
