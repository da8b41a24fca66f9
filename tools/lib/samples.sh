#!/usr/bin/env bash
# The packages as an integrator gets them. Each dist/KVRegister-<version>-<arch>.zip is unzipped
# into a temporary folder, and both samples are built there with the command line their own
# first lines give, in a bare environment with nothing on the include path but the package's
# include folder. Then clang (targeting mingw-w64, with the mingw headers) builds the C sample
# for both sizes, and each signs up once under Wine, the person played by the autopilot of
# tests/samples (linked in through KVPersonStart.c; the sample's code is the shipped one).
# Usage: samples.sh <repository root>. Exit status non-zero on any failure.
set -u
ROOT=$(cd "$1" && pwd)
version=$(cat "$ROOT/VERSION")
work=$(mktemp -d)
problems=0
fail() { echo "*** samples: $*" >&2; problems=$((problems + 1)); }

# The build line a sample documents, for the triple of this package.
documented_line() {  # sample triple
    grep -m1 -E '^( \*|//) {5}x86_64-w64-mingw32-' "$1" | sed -E "s#^( \*|//) {5}x86_64-w64-mingw32-#$2-#"
}

bare() { env -i PATH=/usr/bin:/bin HOME="$work" "$@"; }

for arch in win64 win32; do
    case $arch in win64) triple=x86_64-w64-mingw32;; win32) triple=i686-w64-mingw32;; esac
    package="$ROOT/dist/KVRegister-$version-$arch.zip"
    folder="$work/$arch"
    mkdir -p "$folder"
    if [ ! -f "$package" ] || ! python3 -m zipfile -e "$package" "$folder"; then
        fail "cannot unzip $package"
        continue
    fi
    for sample in KVSampleC.c KVSampleCpp.cpp; do
        line=$(documented_line "$folder/samples/$sample" "$triple")
        if [ -z "$line" ]; then
            fail "$arch: samples/$sample gives no build line"
        elif ! (cd "$folder" && bare sh -c "$line"); then
            fail "$arch: samples/$sample does not build with: $line"
        fi
    done

    # A second compiler: clang for the mingw target, with GCC's runtime beside the mingw headers.
    libgcc=$(dirname "$($triple-gcc-posix -print-libgcc-file-name)")
    if ! (cd "$folder" && bare clang --target="$triple" -std=c99 -Wall -Werror -Iinclude samples/KVSampleC.c \
            "$ROOT/tests/samples/KVPersonStart.c" lib/KVRegisterC.lib -L"$libgcc" -o KVSampleC-clang.exe); then
        fail "$arch: clang does not build samples/KVSampleC.c"
        continue
    fi
    cp "$ROOT/build/$arch/tests/KVSamplePerson.dll" "$folder/" || fail "$arch: no KVSamplePerson.dll in build/$arch"
done

source "$ROOT/tools/lib/wine-env.sh"
if kv_wine_start; then
    for arch in win64 win32; do
        folder="$work/$arch"
        [ -f "$folder/KVSampleC-clang.exe" ] && [ -f "$folder/KVSamplePerson.dll" ] || continue
        if [ $arch = win32 ] && ! kv_wine32_installed; then
            echo "=== the clang-built C sample (win32): not run, 32-bit Wine is not installed"
            continue
        fi
        echo "=== the clang-built C sample signs up ($arch)"
        output=$(cd "$folder" && timeout 300 wine KVSampleC-clang.exe 2>&1)
        status=$?
        printf '%s\n' "$output" | tr -d '\r' | sed 's/^/  /'
        [ $status -eq 0 ] && printf '%s\n' "$output" | grep -q '^registered: ' \
            || fail "$arch: the clang-built C sample did not sign up (exit $status)"
    done
    wine reg delete 'HKCU\Software\Korvane\KVSampleC (64-bit)' /f >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Korvane\KVSampleC (32-bit)' /f >/dev/null 2>&1
else
    fail "Wine/Xvfb could not be started"
fi
kv_wine_stop
rm -rf "$work"
[ $problems -eq 0 ]
