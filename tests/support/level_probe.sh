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
# 50 ms window), -999 for silence; frequency: the left channel's pitch in
# Hz (median_pitch), which tells one test tone from another. It ends when
# DIR/stop appears.
set -u
dir=$1

# The left channel's pitch in Hz from sox's text samples on stdin: 44100 over
# the median spacing of its rising zero crossings (interpolated; a crossing
# counts once the wave has been below -40 dB since the last one). A loaded
# machine drops bits of sound, and each gap or splice is a click; the median
# spacing ignores them, where an estimate from the wave's slope (sox's
# "Rough frequency") reads a clicking 440 Hz tone as 550 Hz.
median_pitch() {
    awk '/^;/ { next }
         { v = $2; n++
           if (v < -0.01) armed = 1
           if (armed && prev < 0 && v >= 0) {
               t = n - 1 - prev / (v - prev)
               if (last) print t - last
               last = t; armed = 0
           }
           prev = v }' |
        sort -n |
        awk '{ spacing[NR] = $1 }
             END { if (NR) printf "%.1f\n", 44100 / spacing[int((NR + 1) / 2)]; else print 0 }'
}

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
    frequency=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$base.raw" -t dat - remix 1 | median_pitch)
    echo "$levels ${frequency:-0}" >"$base.level.part"
    mv "$base.level.part" "$base.level"
}

while [ ! -e "$dir/stop" ]; do
    for request in "$dir"/*.request; do
        [ -e "$request" ] && answer "$request"
    done
    sleep 0.02
done
