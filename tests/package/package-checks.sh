# What the package checks share; sourced by check-install, check-deb and
# check-zip, which set $me (their name) and $root (the source tree) first.

fail() {
    echo "$me: $1" >&2
    exit 1
}

# The width and height a PNG file's header gives, as "WxH"; empty when the
# file is no PNG.
png_size() {  # FILE
    [ "$(od -An -tx1 -N16 "$1" | tr -d ' \n')" = 89504e470d0a1a0a0000000d49484452 ] || return 0
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8 }'
}

# The files of the native program under an install prefix (/usr in the
# .deb): exactly these, the program executable, the menu entry valid, the
# icons of the sizes their folders name.
check_native_prefix() {  # PREFIX
    prefix=$1
    expected="./bin/tunelathe
./share/applications/tunelathe.desktop
./share/icons/hicolor/16x16/apps/tunelathe.png
./share/icons/hicolor/32x32/apps/tunelathe.png
./share/icons/hicolor/48x48/apps/tunelathe.png"
    found=$(cd "$prefix" && find . ! -type d | LC_ALL=C sort)
    [ "$found" = "$expected" ] || fail "the files under $prefix are
$found
expected
$expected"
    [ -x "$prefix/bin/tunelathe" ] || fail "bin/tunelathe is not executable"

    desktop="$prefix/share/applications/tunelathe.desktop"
    said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects the menu entry: $said"
    [ -z "$said" ] || fail "desktop-file-validate has remarks on the menu entry: $said"
    for line in 'Type=Application' 'Name=Tunelathe' 'Icon=tunelathe' 'Categories=AudioVideo;Audio;' \
                'MimeType=audio/x-mpegurl;' 'Terminal=false'; do
        grep -qxF "$line" "$desktop" || fail "the menu entry has no line $line"
    done
    # The command the menu runs is the installed program's name, given the
    # playlist chosen through "Open with".
    grep -qxF 'Exec=tunelathe %f' "$desktop" || fail "the menu entry does not run tunelathe with the chosen file"

    for size in 16 32 48; do
        icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tunelathe.png"
        [ "$(png_size "$icon")" = "${size}x${size}" ] ||
            fail "$icon is $(png_size "$icon" | grep . || echo 'no PNG'), not ${size}x${size}"
    done
}

# Runs the scenario test StartUpInstalled (tests/scenario/gtk) in a private
# display against the program at that path: it must pass, not be skipped.
start_native_program() {  # PROGRAM SCENARIO_TESTS WORK_DIR
    log="$3/start.log"
    code=0
    # The work folder stands in for the audio server's: the start needs no sound.
    SOUND_TEST_DIR=$3 TUNELATHE_INSTALLED=$1 "$root/cmake/with-display" "$2" --gtest_filter='StartUpInstalled.*' >"$log" 2>&1 || code=$?
    cat "$log"
    [ $code = 0 ] || fail "the program at $1 did not start and close as it should"
    if grep -q '^\[  SKIPPED \]' "$log" || ! grep -q '^\[  PASSED  \] 1 test' "$log"; then
        fail "the start of $1 was skipped or not run"
    fi
}
