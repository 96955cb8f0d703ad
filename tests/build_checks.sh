#!/bin/sh
# Host-side checks of the build itself, each in fresh build folders:
#   build_checks.sh reproducible SOURCE   two clones of the commit, at paths of
#                                         different lengths and with files of
#                                         different dates, give identical
#                                         installers
#   build_checks.sh vendor SOURCE         a vendor's payload folder with an
#                                         oversized file or an over-long
#                                         licence line fails, naming the file
#   build_checks.sh signed SOURCE         a build given a certificate signs
#                                         the installer and the programs it
#                                         installs (a throw-away one here)
#   build_checks.sh layers SOURCE         a render file that includes an app
#                                         header, or names a dialog's control,
#                                         stops the build, naming it
#   build_checks.sh imports SOURCE BUILD  a program importing comctl32, and
#                                         stripped ones delay-loading uxtheme
#                                         and winspool.drv, none a known DLL,
#                                         stop the build in BUILD, naming
#                                         program and DLL
set -eu
check=$1
source_dir=$2
scratch=$(mktemp -d /tmp/morivane-build-check.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# configure BUILD_DIR [cmake options...], from $source_dir
configure() {
    cmake -S "$source_dir" -B "$1" -G Ninja -DMORIVANE_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/i686-w64-mingw32.cmake" "$@" >/dev/null
}

case $check in
imports)
    build_dir=$3
    status=0
    for probe in dll_probe_checked:imports:comctl32.dll delay_probe_checked:delay-loads:uxtheme.dll \
        winspool_delay_probe_checked:delay-loads:winspool.drv; do
        target=${probe%%:*}
        expected="error: $target.exe $(echo "$probe" | cut -d: -f2) $(echo "$probe" | cut -d: -f3), which is not one of Windows' known DLLs"
        if cmake --build "$build_dir" --target "$target" >"$scratch/log" 2>&1; then
            echo "FAIL: $target was built"
            status=1
        elif grep -q "$expected" "$scratch/log" && [ ! -e "$build_dir/tests/$target.exe" ]; then
            echo "PASS: $(grep -o "$expected" "$scratch/log"), and the program was removed"
        else
            echo "FAIL: the build of $target failed without naming the DLL, or left the program"
            cat "$scratch/log"
            status=1
        fi
    done
    exit $status
    ;;
reproducible)
    origin=$source_dir
    one="$scratch/one"
    two="$scratch/a-folder-with-a-much-longer-name/two"
    for clone in "$one" "$two"; do
        git clone -q "$origin" "$clone"
    done
    # A checkout dates its files when it is made: make the second one's differ.
    find "$two" -name .git -prune -o -exec touch -h -d '2001-02-03 04:05:06' {} +
    for clone in "$one" "$two"; do
        source_dir=$clone
        configure "$clone/build"
        cmake --build "$clone/build" --target MorivaneSetup >/dev/null
    done
    if cmp "$one/build/MorivaneSetup.exe" "$two/build/MorivaneSetup.exe"; then
        echo "PASS: two clones build identical installers ($(stat -c %s "$one/build/MorivaneSetup.exe") bytes)"
    else
        echo "FAIL: two clones of $(git -C "$origin" rev-parse --short HEAD) build different installers"
        exit 1
    fi
    ;;
vendor)
    status=0
    for problem in oversized licence; do
        payload="$scratch/payload-$problem"
        mkdir -p "$payload"
        if [ $problem = oversized ]; then
            head -c 1048577 /dev/zero > "$payload/sort.dic"
            expected="sort.dic: 1048577 bytes, more than the 1048576 its reader holds"
        else
            printf '%0260d\r\n' 0 > "$payload/licence_zh.txt"
            expected="licence_zh.txt:1: line of 260 bytes, more than 259"
        fi
        configure "$scratch/build-$problem" -DMORIVANE_PAYLOAD_DIR="$payload"
        if cmake --build "$scratch/build-$problem" --target MorivaneSetup \
            >"$scratch/log-$problem" 2>&1; then
            echo "FAIL: the build took a payload with $problem"
            status=1
        elif grep -q "error: .*$expected" "$scratch/log-$problem"; then
            echo "PASS: $problem refused: $(grep -o "error: .*$expected" "$scratch/log-$problem")"
        else
            echo "FAIL: no line naming the file for $problem"
            cat "$scratch/log-$problem"
            status=1
        fi
    done
    exit $status
    ;;
layers)
    mkdir "$scratch/src"
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
        xargs -0 tar -cf -) | tar -xf - -C "$scratch/src"
    sed -i '0,/#include "render\/gbk_text.h"/s||&\n#include "app/wizard.h"|' \
        "$scratch/src/render/gbk_text.cpp"
    echo 'static const int kPlanted = IDC_NEXT;' >>"$scratch/src/render/owner_draw.cpp"
    source_dir="$scratch/src"
    configure "$scratch/build"
    if cmake --build "$scratch/build" --target morivane_render >"$scratch/log" 2>&1; then
        echo "FAIL: a render file including an app header was built"
        exit 1
    fi
    for expected in "backwards include: render/gbk_text.cpp:[0-9]*: includes app/wizard.h" \
        "render/owner_draw.cpp:[0-9]*: names control IDC_NEXT"; do
        if grep -q "$expected" "$scratch/log"; then
            echo "PASS: $(grep -o "$expected.*" "$scratch/log")"
        else
            echo "FAIL: the build failed without naming: $expected"
            cat "$scratch/log"
            exit 1
        fi
    done
    ;;
signed)
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quelt test signing" \
        -keyout "$scratch/key.pem" -out "$scratch/cert.pem" >/dev/null 2>&1
    configure "$scratch/build" -DMORIVANE_SIGN_CERT="$scratch/cert.pem" \
        -DMORIVANE_SIGN_KEY="$scratch/key.pem"
    cmake --build "$scratch/build" --target MorivaneSetup >/dev/null
    # The installer, and the two programs it carries as they were packed.
    for program in MorivaneSetup.exe payload/Morivane.exe payload/MorivaneUnInstall.exe; do
        if osslsigncode verify -CAfile "$scratch/cert.pem" -in "$scratch/build/$program" \
            >"$scratch/verify.log" 2>&1; then
            echo "PASS: $program signed, and the signature verifies against the test certificate"
        else
            echo "FAIL: $program does not verify"
            cat "$scratch/verify.log"
            exit 1
        fi
    done
    ;;
esac
