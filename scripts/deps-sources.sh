#!/bin/sh
# Unpacks Debian's source packages of the libraries that Debian ships for the build machine only
# (pugixml, zstd, flac) into build/third_party/, where the MinGW trees (and the fuzz tree, for coverage
# guidance) compile them. Only what is missing is fetched: a later run costs nothing.
#
# The sources come through apt, from the archives this machine's apt already uses, with their
# checksums verified against the archive's signed index. apt runs with a configuration and a state
# of its own under build/third_party/apt (the machine's source lists turned into deb-src lines),
# so neither root nor a change to the machine's apt setup is needed, and nothing is installed.
# Run by scripts/deps.sh; TK_THIRD_PARTY overrides the folder.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${TK_THIRD_PARTY:-$root/build/third_party}
# Debian's name of the source package, and the folder it is unpacked into.
wanted="pugixml:pugixml libzstd:libzstd zlib:zlib flac:flac"

missing=""
for entry in $wanted; do
    [ -f "$dir/${entry#*:}/.unpacked" ] || missing="$missing $entry"
done
[ -z "$missing" ] && exit 0

apt="$dir/apt"
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/archives/partial" "$dir/download"
# The machine's own archives, as source archives: one-line lists and deb822 files alike.
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    if [ -f "$list" ]; then sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list"; fi
done >"$apt/sources.list.d/machine.list"
for sources in /etc/apt/sources.list.d/*.sources; do
    if [ -f "$sources" ]; then
        sed 's/^Types:.*/Types: deb-src/' "$sources" >"$apt/sources.list.d/$(basename "$sources")"
    fi
done
set -- -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d" \
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache::Archives="$apt/archives" \
    -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= -o APT::Sandbox::User="$(id -un)" -qq

log="$dir/sources.log"
: >"$log"
echo "Fetching Debian's sources of:$(for entry in $missing; do printf ' %s' "${entry%%:*}"; done)"
# A failing archive (one without sources) leaves the others usable: what counts is whether apt
# then knows the packages.
apt-get "$@" update >>"$log" 2>&1 || true

for entry in $missing; do
    package=${entry%%:*} folder=${entry#*:}
    download="$dir/download/$package"
    rm -rf "$download" "$dir/$folder"
    mkdir -p "$download"
    # The newest version first; an archive may list a version whose files it no longer serves.
    fetched=""
    for version in "" $(apt-cache "$@" showsrc --only-source "$package" 2>>"$log" |
        sed -n 's/^Version: //p' | sort -r -V -u); do
        request=$package${version:+=$version}
        if (cd "$download" && apt-get "$@" source --download-only "$request") >>"$log" 2>&1; then
            fetched=$request
            break
        fi
        rm -f "$download"/*
    done
    if [ -z "$fetched" ]; then
        tail -n 20 "$log"
        echo "deps-sources: could not fetch Debian's source package $package (log: $log)"
        exit 1
    fi
    dpkg-source -x "$download"/*.dsc "$download/src" >>"$log" 2>&1 ||
        { tail -n 20 "$log"; echo "deps-sources: could not unpack $fetched (log: $log)"; exit 1; }
    basename "$download"/*.dsc .dsc >"$download/src/.unpacked"
    mv "$download/src" "$dir/$folder"
    rm -rf "$download"
done
# The index and the archives served this fetch only: a later one updates them afresh.
rm -rf "$apt" "$dir/download"
