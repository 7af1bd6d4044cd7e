#!/usr/bin/env bash
# Installs the build tree into a prefix inside it, then builds the consumer
# against that prefix twice: with find_package (shared and static) and with
# pkg-config, and runs each.
# Arguments: BUILD_DIR PREFIX CONSUMER_SOURCE SAMPLES [ASAN_RUNTIME CXX_RUNTIME]
# The two runtimes are given for a build with the sanitizers: the installed
# package then brings the sanitizer link flags to its users, and the Python
# interpreter, which is not sanitized, gets the runtimes preloaded.
set -euo pipefail
build=$1 prefix=$2 source=$3 samples=$4 asan=${5:-} cxx=${6:-}
rm -rf "$prefix" "$build/consumer-cmake" "$build/consumer-pkgconfig"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/vxp2bmp include/vxp2bmp/vxp2bmp.hpp include/vxp2bmp/vxp2bmp.h share/man/man1/vxp2bmp.1 \
         lib/libvxp2bmp.a lib/pkgconfig/vxp2bmp.pc lib/cmake/vxp2bmp/vxp2bmpConfig.cmake \
         lib/python3/dist-packages/vxp2bmp.py; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
ls "$prefix"/lib/libvxp2bmp.so.* >/dev/null

run() { "$@" "$samples/demo-report.vxp" "$samples/shapes.emf" "$build/consumer-out.bmp"; }

# find_package
cmake -S "$source" -B "$build/consumer-cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/consumer-cmake" >/dev/null
run "$build/consumer-cmake/consumer_shared"
run "$build/consumer-cmake/consumer_static"

# pkg-config
mkdir -p "$build/consumer-pkgconfig"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
g++ -std=c++17 "$source/consumer.cpp" -o "$build/consumer-pkgconfig/consumer" $(pkg-config --cflags --libs vxp2bmp)
LD_LIBRARY_PATH="$prefix/lib" run "$build/consumer-pkgconfig/consumer"
g++ -std=c++17 "$source/consumer.cpp" -o "$build/consumer-pkgconfig/consumer_static" \
  $(pkg-config --cflags vxp2bmp) "$prefix/lib/libvxp2bmp.a" $(pkg-config --libs-only-l --static vxp2bmp | sed 's/-lvxp2bmp//') \
  $(pkg-config --libs-only-other vxp2bmp)
run "$build/consumer-pkgconfig/consumer_static"

# The installed Python module finds the installed library beside it.
if command -v python3 >/dev/null; then
  preload=""
  [ -n "$asan" ] && preload="$asan $cxx"
  # The interpreter's own objects at its end are no leaks of ours: the module's tests check those.
  LD_PRELOAD="$preload" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  PYTHONPATH="$prefix/lib/python3/dist-packages" python3 -c \
    "import vxp2bmp; assert vxp2bmp.Report('$samples/demo-report.vxp').page_count == 3; print('python', vxp2bmp.version())"
fi

# The installed program converts.
"$prefix/bin/vxp2bmp" "$samples/shapes.emf" "$build/consumer-tool.png" --format=png
head -c 8 "$build/consumer-tool.png" | od -An -c | grep -q 'P   N   G'
echo "installed package: all consumers built and ran"
