#!/usr/bin/env bash
# Makes a release of the committed HEAD in dist/: the source archive, the Debian
# package, the static Linux program with its man page, LICENSE and README, the
# Windows program with LICENSE and README, and SHA256SUMS over them. Every time
# stamp comes from SOURCE_DATE_EPOCH (default: the last commit's time) and every
# archive lists its files in name order with owner root, so two runs on one commit
# give the same SHA256SUMS.
#
# Usage: tools/release.sh   (needs: cmake g++ make gzip git dpkg python3 g++-mingw-w64-x86-64-posix)
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

build=build/release
windows=build/release-windows
rm -rf "$build" "$windows" dist
cmake --preset release --fresh >/dev/null
cmake --build --preset release
cmake --preset windows-x64 -B "$windows" --fresh -DBUILD_TESTING=OFF >/dev/null
cmake --build "$windows"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
mkdir dist

# Archives hold their files sorted by name, owned by root, dated SOURCE_DATE_EPOCH.
reproducible_tar() {
    local output=$1 folder=$2
    tar --sort=name --format=gnu --owner=0 --group=0 --numeric-owner \
        --mtime="@$SOURCE_DATE_EPOCH" --mode='u+rwX,go=rX' \
        -C "$(dirname "$folder")" -cf - "$(basename "$folder")" | gzip -9n >"$output"
}

git archive --format=tar --prefix="wavinspect-$version/" HEAD | gzip -9n \
    >"dist/wavinspect-$version.tar.gz"

# The package's ar members take the mode of cpack's temporary files.
(umask 022 && cd "$build" && cpack -G DEB >/dev/null)
cp "$build"/wavinspect_"$version"_*.deb dist/

stage=$build/stage/wavinspect-$version-linux-$(uname -m)
mkdir -p "$stage"
strip --strip-all -o "$stage/wavinspect" "$build/wavinspect"
cp "$build/wavinspect.1" LICENSE README.md "$stage/"
reproducible_tar "dist/$(basename "$stage").tar.gz" "$stage"

# The zip's entries: name order, the epoch's date (zip keeps local time in two-second
# steps, taken here as UTC), mode 0644, deflated at level 9.
stage=$windows/stage/wavinspect-$version-windows-x64
mkdir -p "$stage"
x86_64-w64-mingw32-strip --strip-all -o "$stage/wavinspect.exe" "$windows/wavinspect.exe"
cp LICENSE README.md "$stage/"
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
