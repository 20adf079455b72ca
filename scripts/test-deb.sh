#!/bin/sh
# The Debian package: builds it (scripts/make-deb.sh), checks its files, man pages and
# dependencies, unpacks it into a temporary root and runs both programs from there.
# $1 (the Windows tree name passed by scripts/test.sh) is not needed here.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

deb=$(sh "$TK_ROOT/scripts/make-deb.sh") || { echo "$deb"; exit 1; }
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/tomkrin ./usr/bin/cas2wav ./usr/bin/wav2cas ./usr/share/man/man1/tomkrin.1.gz \
    ./usr/share/man/man1/cas2wav.1.gz ./usr/share/man/man1/wav2cas.1.gz \
    ./usr/share/doc/tomkrin-tools/copyright; do
    if echo "$contents" | grep -q " $file\$"; then pass "the package holds $file"; else fail "the package lacks $file"; fi
done
info=$(dpkg-deb -I "$deb")
echo "$info" | grep -q '^ Package: tomkrin-tools$' && pass "the package is tomkrin-tools" ||
    fail "package name: $(echo "$info" | grep Package)"
echo "$info" | grep -q '^ Version: 2\.2' && pass "version 2.2" || fail "version: $(echo "$info" | grep Version)"
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
case $depends in
*libc6*libstdc++6* | *libstdc++6*libc6*) pass "depends on $depends" ;;
*) fail "dependencies: $depends" ;;
esac

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
gzip -t "$root"/usr/share/man/man1/*.1.gz &&
    pass "the man pages are gzip files" || fail "a man page is not a gzip file"
version=$("$root/usr/bin/tomkrin" --version) || true
[ "$version" = "tomkrin 2.2" ] && pass "the unpacked tomkrin says $version" || fail "tomkrin --version said: $version"
# Without arguments cas2wav explains its usage with exit status 2.
status=0
"$root/usr/bin/cas2wav" 2>"$root/usage.txt" || status=$?
[ $status = 2 ] && grep -q 'usage: cas2wav' "$root/usage.txt" && pass "the unpacked cas2wav runs" ||
    fail "cas2wav exited $status: $(cat "$root/usage.txt")"

# A round trip through the unpacked converters: the decoder gives back the encoder's tape.
printf '\037\246\336\272\314\023\175\164\320\320\320\320\320\320\320\320\320\320TOMKRN' >"$root/t.cas"
# The data block: load 0xC000, end 0xC001, exec 0xC000, then the two bytes its header announces.
printf '\037\246\336\272\314\023\175\164\000\300\001\300\000\300\001\002' >>"$root/t.cas"
"$root/usr/bin/cas2wav" "$root/t.cas" "$root/t.wav" &&
    "$root/usr/bin/wav2cas" -q "$root/t.wav" "$root/back.cas" && cmp -s "$root/t.cas" "$root/back.cas" &&
    pass "the unpacked cas2wav and wav2cas give the tape image back" ||
    fail "the round trip through the unpacked cas2wav and wav2cas"

echo "deb: $failures failed"
[ $failures -eq 0 ]
