#!/usr/bin/env bash
# Script behind the DebianPackages test: makes the Debian packages of this build with CPack,
# unpacks them into a scratch root (dpkg -x), checks what each holds and what it depends on, runs
# dcmcj2k and dcmdj2k from the scratch root on a DICOM file made with DCMTK's dump2dcm, and builds
# the codec's package consumer against the unpacked development packages.
#   RunDebianPackages.sh <build folder> <work folder> <version> <codec consumer folder>
#                        <C compiler> <C++ compiler> <sanitizers ON/OFF>
set -euo pipefail
build=$1
work=$2
version=$3
consumer=$4
cc=$5
cxx=$6
sanitize=$7

fail() { echo "DebianPackages: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/packages" "$work/root" "$work/data"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/packages" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }

arch=$(dpkg --print-architecture)
deb() { echo "$work/packages/$1_${version}_$2.deb"; }
runtime=$(deb vireon-wavecodec "$arch")
dev=$(deb vireon-wavecodec-dev "$arch")
common=$(deb vireon-dev-common all)
expected=("$runtime" "$dev" "$common" "$(deb vireon-prioheap "$arch")"
  "$(deb vireon-prioheap-dev "$arch")" "$(deb vireon-pylaunch "$arch")")
made=$(find "$work/packages" -maxdepth 1 -name '*.deb' | sort)
[ "$made" = "$(printf '%s\n' "${expected[@]}" | sort)" ] ||
  fail "cpack made"$'\n'"$made"$'\n'"expected"$'\n'"$(printf '%s\n' "${expected[@]}" | sort)"

# Each file of a package matches one of its patterns, and each pattern is met by some file.
check_contents() {
  local package=$1; shift
  local files
  files=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')
  local file pattern matched
  while read -r file; do
    matched=no
    for pattern in "$@"; do
      [[ $file =~ ^${pattern}$ ]] && { matched=yes; break; }
    done
    [ $matched = yes ] || fail "$(basename "$package") holds $file"
  done <<< "$files"
  for pattern in "$@"; do
    [[ $pattern == *'?' ]] && continue
    grep -Eq "^${pattern}$" <<< "$files" || fail "$(basename "$package") has no $pattern"
  done
}
v=${version//./\\.}
# The tools' manual pages when the build made them (help2man).
pages=()
for tool in dcmcj2k dcmdj2k; do
  [ -f "$build/share/man/man1/$tool.1" ] && pages+=("usr/share/man/man1/$tool\.1")
done
check_contents "$runtime" "usr/lib/libwavecodec\.so\.1" "usr/lib/libwavecodec\.so\.$v" \
  "usr/bin/dcmcj2k" "usr/bin/dcmdj2k" "${pages[@]}"
check_contents "$dev" "usr/lib/libwavecodec\.so" "usr/include/vireon/wavecodec/dj2kcodecd\.h" \
  "usr/include/vireon/wavecodec/wavecodecExport\.h" "(usr/include/vireon/wavecodec/[a-z0-9_]+\.h)?" \
  "usr/lib/cmake/Vireon/VireonTargets-wavecodec\.cmake" \
  "usr/lib/cmake/Vireon/VireonTargets-wavecodec-[a-z]+\.cmake"
check_contents "$common" "usr/lib/cmake/Vireon/VireonConfig\.cmake" \
  "usr/lib/cmake/Vireon/VireonConfigVersion\.cmake"
check_contents "${expected[3]}" "usr/lib/libprioheap\.so\.1" "usr/lib/libprioheap\.so\.$v"
check_contents "${expected[4]}" "usr/lib/libprioheap\.so" "usr/include/vireon/prioheap/FibHeap\.h" \
  "usr/include/vireon/prioheap/prioheapExport\.h" \
  "usr/lib/cmake/Vireon/VireonTargets-prioheap\.cmake" \
  "usr/lib/cmake/Vireon/VireonTargets-prioheap-[a-z]+\.cmake"
check_contents "${expected[5]}" "usr/bin/pylaunch" "(usr/share/man/man1/pylaunch\.1(\.gz)?)?"

for package in "$work"/packages/*.deb; do
  dpkg -x "$package" "$work/root"
done

# Every binary in the scratch root finds its libraries: the package's own in the scratch root.
while read -r binary; do
  libraries=$(ldd "$binary")
  ! grep -q "not found" <<< "$libraries" || fail "$binary: $libraries"
done < <(find "$work/root" -type f \( -name '*.so*' -o -perm -u+x \) -exec sh -c \
  'head -c 4 "$1" | grep -q ELF' _ {} \; -print)
codec=$(ldd "$work/root/usr/bin/dcmcj2k" | awk '$1 == "libwavecodec.so.1" { print $3 }')
[ "$(readlink -f "$codec")" = "$(readlink -f "$work/root/usr/lib/libwavecodec.so.1")" ] ||
  fail "dcmcj2k does not load the unpacked libwavecodec (but '$codec')"
[ "$("$work/root/usr/bin/pylaunch" -c 'print(6 * 7)')" = 42 ] || fail "pylaunch did not run"
grep -qF "dcmcj2k v$version" <<< "$("$work/root/usr/bin/dcmcj2k" --version)" ||
  fail "dcmcj2k --version does not name the package version $version"

# A 16-bit image (12 bits stored) through both tools: JPEG 2000 lossless and back, bit for bit.
cd "$work/data"
python3 -c "
import struct
open('pixels.raw', 'wb').write(b''.join(
    struct.pack('<H', (x * 37 + y * 101) % 4096) for y in range(48) for x in range(64)))"
cat > in.dump <<'DUMP'
(0008,0016) UI =SecondaryCaptureImageStorage
(0008,0018) UI [1.2.826.0.1.3680043.9.7433.9.2]
(0008,0060) CS [OT]
(0010,0010) PN [Vireon^Package^Test]
(0028,0002) US 1
(0028,0004) CS [MONOCHROME2]
(0028,0010) US 48
(0028,0011) US 64
(0028,0100) US 16
(0028,0101) US 12
(0028,0102) US 11
(0028,0103) US 0
(7fe0,0010) OW =pixels.raw
DUMP
dump2dcm --write-xfer-little in.dump in.dcm
"$work/root/usr/bin/dcmcj2k" in.dcm j2k.dcm
syntax=$(dcmdump -Un +P TransferSyntaxUID j2k.dcm)
grep -qF '[1.2.840.10008.1.2.4.90]' <<< "$syntax" ||
  fail "dcmcj2k did not write JPEG 2000 Lossless Only: $syntax"
"$work/root/usr/bin/dcmdj2k" j2k.dcm out.dcm
mkdir pixels
dcmdump +W pixels out.dcm > /dev/null
cmp pixels/out.dcm.0.raw pixels.raw || fail "dcmdj2k did not restore the pixels"

# The runtime package depends on the package of every library its binaries need (read from the
# ELF files, mapped to packages with dpkg -S), with a version bound that the installed package
# meets; DCMTK's and OpenJPEG's with a bound in any case.
depends=$(dpkg-deb -f "$runtime" Depends)
needed=$(for binary in "$work"/root/usr/lib/libwavecodec.so.1 "$work"/root/usr/bin/dcm?j2k; do
  readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u)
owners=()
for soname in $needed; do
  [ "$soname" = libwavecodec.so.1 ] && continue
  # "soname => path (address)", or for the dynamic loader (needed for thread-local storage)
  # "path (address)".
  path=$(ldd "$work/root/usr/bin/dcmcj2k" "$work/root/usr/lib/libwavecodec.so.1" |
    awk -v s="$soname" '$1 == s { print $3; exit } $1 ~ ("/" s "$") { print $1; exit }')
  [ -n "$path" ] || fail "no path for $soname"
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")") ||
    fail "no package owns $path"
  owners+=("${owner%%:*}")
done
for required in libdcmtk17 libopenjp2-7; do
  grep -qx "$required" <<< "$(printf "%s\n" "${owners[@]}")" ||
    fail "the codec no longer loads a library of $required (owners: ${owners[*]})"
done
for owner in $(printf '%s\n' "${owners[@]}" | sort -u); do
  entry=$(tr ',' '\n' <<< "$depends" | awk -v p="$owner" '$1 == p { sub(/^ */, ""); print }')
  [ -n "$entry" ] || fail "Depends of vireon-wavecodec does not name $owner: $depends"
  bound=$(sed -n 's/.*(>= *\(.*\))/\1/p' <<< "$entry")
  if [ -z "$bound" ]; then
    # Only packages whose shlibs file names no version (libasan8 in the sanitizer build) may.
    case $owner in libdcmtk17 | libopenjp2-7) fail "Depends names $owner without a version" ;; esac
    continue
  fi
  installed=$(dpkg-query -W -f='${Version}' "$owner")
  dpkg --compare-versions "$installed" ge "$bound" ||
    fail "$owner $installed (seen by the build) does not meet the dependency $entry"
done

# The -dev package depends on the runtime package of the same version and on the packages of the
# CMake and pkg-config files that the codec's users find.
dev_depends=$(dpkg-deb -f "$dev" Depends)
for required in "vireon-wavecodec (= $version)" "vireon-dev-common (= $version)" \
  "$(dpkg -S /usr/lib/*/cmake/dcmtk/DCMTKConfig.cmake | sed 's/:.*//')" \
  "$(dpkg -S "$(pkg-config --variable=pcfiledir libopenjp2)/libopenjp2.pc" | sed 's/:.*//')"; do
  grep -qF "$required" <<< "$dev_depends" ||
    fail "Depends of vireon-wavecodec-dev does not name $required: $dev_depends"
done
# The unpacked -dev packages are a complete CMake package for the codec.
flags=()
if [ "$sanitize" = ON ]; then
  flags=(-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
    -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
fi
cmake -S "$consumer" -B "$work/consumer" -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$work/root/usr" -DCMAKE_BUILD_TYPE=Release "${flags[@]}" \
  > "$work/consumer.log" 2>&1 &&
  cmake --build "$work/consumer" >> "$work/consumer.log" 2>&1 ||
  { cat "$work/consumer.log" >&2; fail "the codec consumer does not build against the packages"; }
"$work/consumer/codec-consumer"

echo "DebianPackages: ok ($(basename -a "${expected[@]}" | tr '\n' ' '))"
