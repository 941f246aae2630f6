#!/usr/bin/env bash
# Builds the image libraries (libjpeg-turbo, libpng, giflib, libtiff, OpenJPEG) as static
# libraries for one Windows target from Debian 12's own source packages. zlib comes from
# Debian's prebuilt libz-mingw-w64-dev. The result is cached outside the source tree, keyed by
# the source versions and this script, and rebuilt only when one of them changes.
#   usage: deps.sh x86_64|i686      prints the install prefix on its last line
source "$(dirname "$0")/common.sh"

arch="${1:?usage: deps.sh x86_64|i686}"
case "$arch" in x86_64|i686) ;; *) die "unknown target '$arch' (x86_64 or i686)";; esac
triple="$arch-w64-mingw32"
toolchain="$ZEL_ROOT/cmake/toolchain-mingw-$arch.cmake"
SOURCES=(libjpeg-turbo libpng1.6 giflib tiff openjpeg2)

srcdir="$ZEL_CACHE/sources"
mkdir -p "$srcdir"

# Pick, per package, the newest version whose source can actually be fetched (the security
# archive sometimes lists versions whose files are not downloadable) and record it.
versions_file="$srcdir/versions.txt"
fetch() {
  local pkg="$1" v
  for v in $(apt-cache showsrc "$pkg" 2>/dev/null | awk '/^Version:/{print $2}' | sort -rV | uniq); do
    if ls "$srcdir/$pkg/${pkg}_${v#*:}.dsc" >/dev/null 2>&1; then echo "$pkg $v"; return 0; fi
    mkdir -p "$srcdir/$pkg"
    if (cd "$srcdir/$pkg" && apt-get source -q --download-only "$pkg=$v" >/dev/null 2>&1); then
      echo "$pkg $v"; return 0
    fi
  done
  return 1
}

step "Image libraries for $triple: checking Debian source versions"
: > "$versions_file.new"
for p in "${SOURCES[@]}"; do
  line=$(fetch "$p") || die "could not download the Debian source of '$p' (is a deb-src entry configured? run scripts/setup.sh)"
  echo "$line" >> "$versions_file.new"
  note "$line"
done
mv "$versions_file.new" "$versions_file"

key=$( (cat "$versions_file"; cat "$0" "$toolchain"; $triple-gcc-posix -dumpversion) | sha256sum | cut -c1-12)
prefix="$ZEL_CACHE/deps/$arch-$key"
if [ -f "$prefix/.complete" ]; then
  step "Image libraries for $triple: cached in $prefix"
  echo "$prefix"; exit 0
fi

work="$ZEL_CACHE/build/$arch-$key"
rm -rf "$work" "$prefix"; mkdir -p "$work" "$prefix"
log="$work/build.log"
note "build log: $log"

unpack() { # pkg -> prints the unpacked folder
  local pkg="$1" ver dsc
  ver=$(awk -v p="$pkg" '$1==p{print $2}' "$versions_file"); ver="${ver#*:}"
  dsc="$srcdir/$pkg/${pkg}_${ver}.dsc"
  dpkg-source --no-check -x "$dsc" "$work/$pkg" >>"$log" 2>&1 || die "dpkg-source failed for $pkg (see $log)"
  echo "$work/$pkg"
}

cmake_build() { # name srcdir [cmake args...]
  local name="$1" src="$2"; shift 2
  cmake -S "$src" -B "$work/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZEL_DEPS_PREFIX="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >>"$log" 2>&1 || die "configuring $name failed (see $log)"
  cmake --build "$work/build-$name" -j"$(jobs)" >>"$log" 2>&1 || die "building $name failed (see $log)"
  cmake --install "$work/build-$name" >>"$log" 2>&1 || die "installing $name failed (see $log)"
}

t0=$SECONDS
n=0; total=5
progress() { n=$((n+1)); step "[$n/$total] $1 for $triple ($((SECONDS-t0)) s so far)"; }

# zlib: Debian's prebuilt static library for this target.
mkdir -p "$prefix/lib" "$prefix/include"
cp "/usr/$triple/lib/libz.a" "$prefix/lib/" || die "libz-mingw-w64-dev is missing (run scripts/setup.sh)"
cp "/usr/$triple/include/zlib.h" "/usr/$triple/include/zconf.h" "$prefix/include/"

progress "libjpeg-turbo"
cmake_build jpeg "$(unpack libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=OFF -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DCMAKE_INSTALL_BINDIR="$prefix/bin" \
  -DCMAKE_INSTALL_INCLUDEDIR="$prefix/include"

progress "libpng"
cmake_build png "$(unpack libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_BUILD_ZLIB=OFF -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
  -DCMAKE_INSTALL_LIBDIR=lib

progress "giflib"
gsrc=$(unpack giflib)
make -C "$gsrc" -j"$(jobs)" libgif.a CC="$triple-gcc-posix" AR="$triple-gcc-ar-posix" \
  CFLAGS="-O2 -std=gnu99 -Wall" >>"$log" 2>&1 || die "building giflib failed (see $log)"
cp "$gsrc/libgif.a" "$prefix/lib/"; cp "$gsrc/gif_lib.h" "$prefix/include/"

progress "libtiff"
cmake_build tiff "$(unpack tiff)" -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
  -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=OFF -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF \
  -Dlibdeflate=OFF -Djpeg12=OFF -Dpixarlog=ON \
  -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
  -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include" \
  -DCMAKE_DISABLE_FIND_PACKAGE_OpenGL=ON -DCMAKE_DISABLE_FIND_PACKAGE_GLUT=ON -DCMAKE_INSTALL_LIBDIR=lib

progress "OpenJPEG"
cmake_build openjpeg "$(unpack openjpeg2)" -DBUILD_CODEC=OFF -DBUILD_TESTING=OFF -DBUILD_DOC=OFF \
  -DBUILD_STATIC_LIBS=ON -DBUILD_JPIP=OFF -DCMAKE_INSTALL_LIBDIR=lib

cp "$versions_file" "$prefix/versions.txt"
touch "$prefix/.complete"
rm -rf "$work"
step "Image libraries for $triple: built in $((SECONDS-t0)) s into $prefix"
echo "$prefix"
