#!/usr/bin/env bash
# Makes a release of the committed HEAD in dist/: the source archive, the Debian
# package, the static Linux program with its man page, LICENSE and README, the
# Windows program with LICENSE and README, and SHA256SUMS over them. The programs are
# built from the source archive itself, unpacked in a scratch folder, so a release
# holds nothing that is not committed, and the checkout's own builds are left alone.
# Every time stamp comes from SOURCE_DATE_EPOCH (default: the last commit's time) and
# every archive lists its files in name order with owner root, so two runs on one
# commit give the same SHA256SUMS.
#
# Usage: tools/release.sh   (needs: cmake g++ make gzip git dpkg python3 g++-mingw-w64-x86-64-posix)
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    echo "release.sh: uncommitted changes are not released; this releases HEAD" >&2
fi
# Strings, not pipes, are searched: under pipefail, a reader that stops at its first
# match kills the writer with SIGPIPE, and the test reads as failed.
project=$(git show HEAD:CMakeLists.txt)
version=$(sed -n 's/^ *VERSION \([0-9.]*\)$/\1/p' <<<"$project")
version=${version%%$'\n'*}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source=$scratch/wavinspect-$version
git archive --format=tar --prefix="wavinspect-$version/" HEAD >"$source.tar"
tar -xf "$source.tar" -C "$scratch"
# Release notes come first: a release without them is not made.
grep -Eq "^## $version - [0-9]{4}-[0-9]{2}-[0-9]{2}\$" "$source/CHANGELOG.md" || {
    echo "release.sh: CHANGELOG.md has no dated entry for version $version" >&2
    exit 1
}
# Changes under "Unreleased" are in the code but in no version's notes: the version
# must be raised and dated first, or two different programs would share its number.
unreleased=$(sed -n '/^## Unreleased/,/^## [0-9]/p' "$source/CHANGELOG.md")
if grep -q '^[-*#] \|^### ' <<<"$unreleased"; then
    echo "release.sh: CHANGELOG.md lists changes under \"Unreleased\"; give them a version first" >&2
    exit 1
fi

build=$scratch/release
windows=$scratch/release-windows
(cd "$source" && cmake --preset release -B "$build" >/dev/null)
cmake --build "$build"
(cd "$source" && cmake --preset windows-x64 -B "$windows" -DBUILD_TESTING=OFF >/dev/null)
cmake --build "$windows"
rm -rf dist
mkdir dist

# Archives hold their files sorted by name, owned by root, dated SOURCE_DATE_EPOCH.
reproducible_tar() {
    local output=$1 folder=$2
    tar --sort=name --format=gnu --owner=0 --group=0 --numeric-owner \
        --mtime="@$SOURCE_DATE_EPOCH" --mode='u+rwX,go=rX' \
        -C "$(dirname "$folder")" -cf - "$(basename "$folder")" | gzip -9n >"$output"
}

gzip -9n <"$source.tar" >"dist/wavinspect-$version.tar.gz"

# The package's ar members take the mode of cpack's temporary files.
(umask 022 && cd "$build" && cpack -G DEB >/dev/null)
cp "$build"/wavinspect_"$version"_*.deb dist/

stage=$build/stage/wavinspect-$version-linux-$(uname -m)
mkdir -p "$stage"
strip --strip-all -o "$stage/wavinspect" "$build/wavinspect"
cp "$build/wavinspect.1" "$source/LICENSE" "$source/README.md" "$stage/"
reproducible_tar "dist/$(basename "$stage").tar.gz" "$stage"

# The zip's entries: name order, the epoch's date (zip keeps local time in two-second
# steps, taken here as UTC), mode 0644, deflated at level 9.
stage=$windows/stage/wavinspect-$version-windows-x64
mkdir -p "$stage"
x86_64-w64-mingw32-strip --strip-all -o "$stage/wavinspect.exe" "$windows/wavinspect.exe"
cp "$source/LICENSE" "$source/README.md" "$stage/"
python3 - "dist/$(basename "$stage").zip" "$stage" <<'PY'
import os, sys, time, zipfile
output, folder = sys.argv[1], sys.argv[2]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
with zipfile.ZipFile(output, "w") as archive:
    for name in sorted(os.listdir(folder)):
        entry = zipfile.ZipInfo(os.path.basename(folder) + "/" + name, stamp)
        entry.external_attr = 0o100644 << 16
        entry.create_system = 3
        with open(os.path.join(folder, name), "rb") as source:
            archive.writestr(entry, source.read(), zipfile.ZIP_DEFLATED, 9)
PY

(cd dist && sha256sum -- * >SHA256SUMS)
cat dist/SHA256SUMS
