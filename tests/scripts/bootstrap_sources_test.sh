#!/bin/sh
# scripts/bootstrap's deb-src entries and the release's own "deb" entries,
# derived from apt source folders laid out here in the formats Debian uses:
# deb822 .sources files and one-line lists.
#
#   bootstrap_sources_test.sh BOOTSTRAP
set -u
bootstrap=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/bootstrap-sources.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# check NAME CODENAME EXPECTED-STATUS: the apt folder is $work/NAME, the
# expected output is on standard input. $entries chooses what is asked for.
entries=--source-entries
check() {
    expected=$(cat)
    actual=$("$bootstrap" "$entries" "$work/$1" "$2" 2>&1)
    status=$?
    succeeded=0
    [ $status = 0 ] && succeeded=1
    if [ "$actual" = "$expected" ] && [ $succeeded = "$([ "$3" = 0 ] && echo 1 || echo 0)" ]; then
        passed=$((passed + 1))
        echo "ok $1"
    else
        failed=$((failed + 1))
        echo "FAILED $1 (status $status, expected $3)"
        echo "--- expected"; printf '%s\n' "$expected"
        echo "--- actual"; printf '%s\n' "$actual"
    fi
}
folder() { mkdir -p "$work/$1/sources.list.d"; }

# Debian 12's own layout: the archive and the security archive, beside a
# third-party archive, a disabled entry and our own earlier file.
folder deb822
cat >"$work/deb822/sources.list.d/debian.sources" <<'X'
Types: deb
# a comment inside a stanza
URIs: http://archive.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://archive.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://archive.example/debian
Suites: bookworm-backports
Components: main
Enabled: no
X
cat >"$work/deb822/sources.list.d/vendor.sources" <<'X'
Types: deb
URIs: http://vendor.example/apt
Suites: nodistro
Components: main
Signed-By: /usr/share/keyrings/vendor.gpg
X
printf 'Types: deb-src\nURIs: http://old.example/debian\nSuites: bookworm\nComponents: main\n' \
    >"$work/deb822/sources.list.d/tunelathe-src.sources"
check deb822 bookworm 0 <<'X'
Types: deb-src
URIs: http://archive.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://archive.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
X

# The one-line style of older installations: options in brackets, comments,
# one suite listed twice for two components, another release's suite.
folder one-line
cat >"$work/one-line/sources.list" <<'X'
# deb cdrom:[Debian GNU/Linux 12]/ bookworm main

deb [arch=amd64,i386 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror.example/debian bookworm main
deb [ signed-by=/usr/share/keyrings/debian-archive-keyring.gpg ] http://mirror.example/debian bookworm non-free-firmware
deb http://mirror.example/debian-security bookworm-security main  # security updates
deb http://mirror.example/debian trixie main
X
cat >"$work/one-line/sources.list.d/updates.list" <<'X'
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror.example/debian bookworm-updates main
X
check one-line bookworm 0 <<'X'
Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main
X

# Suites that already have source entries get none from us.
folder has-sources
cat >"$work/has-sources/sources.list.d/debian.sources" <<'X'
Types: deb deb-src
URIs: http://archive.example/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
X
cat >"$work/has-sources/sources.list" <<'X'
deb http://archive.example/debian-security bookworm-security main
deb-src http://archive.example/debian-security bookworm-security main
X
check has-sources bookworm 0 </dev/null

# The release's own entries, as a new root's sources: every suite of the
# release, whether it has source entries or not, and nothing of others.
entries=--release-entries
check has-sources bookworm 0 <<'X'
Types: deb
URIs: http://archive.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: http://archive.example/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
X
check one-line bookworm 0 <<'X'
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main
X
entries=--source-entries

# A machine without any entry for its release: nothing to derive from.
folder foreign
cp "$work/deb822/sources.list.d/vendor.sources" "$work/foreign/sources.list.d/"
check foreign bookworm 1 </dev/null
folder empty
check empty bookworm 1 </dev/null

echo "$passed passed, $failed failed"
[ $failed = 0 ]
