#!/bin/sh
# Measures, on demand, the installer on two payloads (the sample one and one
# of real size from tools/make_real_payload.py) against NSIS installers of
# the same files (zlib, zlib solid, LZMA solid), side by side under Wine:
# size, clean build time, start to first window against the bare dialog with
# the installer's imports (the yardstick of the installer's own start-up
# work) and NSIS's first page, RunInstall against NSIS's
# silent install, the speech-runtime package's extraction against CopyFileA,
# and the peak working set of a whole installation with the package
# accepted against a bare dialog program. Medians of RUNS runs (default 7),
# BUILD_RUNS clean builds (default 3; 0 measures the builds of the last run
# again) and PEAK_RUNS installations (default 3); results in
# build/benchmark/results.md.
#
# NSIS's installers are 32-bit programs: on a host that runs no 32-bit code
# the x86_64 build is measured against the bare dialog program alone, and the
# tables name the architecture they measured, so that figures of the two are
# never mixed.
set -eu
. "$(dirname "$0")/common.sh"
PACKAGES="$PACKAGES nsis"
RUNS=${RUNS:-7}
BUILD_RUNS=${BUILD_RUNS:-3}
PEAK_RUNS=${PEAK_RUNS:-3}
# What the installer may use over the bare dialog program: the payload
# buffer, the package buffer and 4 MB, in KB.
PEAK_ALLOWANCE_KB=$(( (1048576 + 12582912 + 4 * 1048576) / 1024 ))
# The installer's own start-up work over the bare dialog with its imports:
# at most 15% more time and 1 MB more working set at the first window.
STARTUP_TIME_ALLOWANCE=1.15
STARTUP_WINDOW_ALLOWANCE_KB=1024

ensure_packages
ensure_locales
ARCH=i686
host_runs_32bit || ARCH=x86_64
NSIS=1
[ $ARCH = i686 ] || NSIS=0
log "measuring the $ARCH build$([ $NSIS = 1 ] || echo '; NSIS columns need a host that runs 32-bit code')"

OUT="$BUILD_DIR/benchmark"
REAL_PAYLOAD="$BUILD_DIR/real-payload"
[ "$BUILD_RUNS" = 0 ] || rm -rf "$OUT"
mkdir -p "$OUT"
if [ ! -f "$REAL_PAYLOAD/Sapi51forQuelt.msi" ]; then
    log "making the real-size payload in $REAL_PAYLOAD"
    python3 "$ROOT_DIR/tools/make_real_payload.py" "$REAL_PAYLOAD" >"$OUT/real-payload.log"
fi

now() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# clean_build NAME [cmake options]: BUILD_RUNS clean configures and builds of
# MorivaneSetup into $OUT/NAME/build (the toolchain installed, no tests),
# then the benchmark programs, untimed. Prints the median in seconds.
clean_build() {
    name=$1
    shift
    dir="$OUT/$name/build"
    mkdir -p "$OUT/$name"
    [ "$BUILD_RUNS" = 0 ] || for _ in $(seq 1 "$BUILD_RUNS"); do
        rm -rf "$dir"
        start=$(now)
        cmake -S "$ROOT_DIR" -B "$dir" -G Ninja -DMORIVANE_TESTS=OFF \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/$ARCH-w64-mingw32.cmake" "$@" >"$OUT/$name/configure.log"
        cmake --build "$dir" --target MorivaneSetup >"$OUT/$name/build.log"
        echo "$(now) $start" | awk '{ print $1 - $2 }'
    done | median >"$OUT/$name/build-seconds"
    cmake --build "$dir" --target MorivaneVerify bench_driver bare_dialog bare_dialog_imports \
        bare_dialog_wizard >/dev/null
    mkdir -p "$dir/bench"
}

# nsis_build NAME KIND: the NSIS installer of the payload gathered for NAME,
# BUILD_RUNS times; its size and the median time of makensis.
nsis_build() {
    name=$1
    kind=$2
    flag=""
    [ "$kind" = solid ] && flag=-DSOLID
    [ "$kind" = lzma ] && flag=-DLZMA
    [ "$BUILD_RUNS" = 0 ] || for _ in $(seq 1 "$BUILD_RUNS"); do
        start=$(now)
        makensis -V2 $flag -DOUTFILE="$OUT/$name/nsis_$kind.exe" -DPAYLOAD="$OUT/$name/payload" \
            -DPACKAGE="$OUT/$name/Sapi51forQuelt.msi" "$ROOT_DIR/tools/bench/compare.nsi" \
            >"$OUT/$name/makensis_$kind.log"
        echo "$(now) $start" | awk '{ print $1 - $2 }'
    done | median >"$OUT/$name/nsis_$kind-seconds"
}

# gather NAME FOLDER...: the installed files and the package, by the
# names the installer lists, from the first folder that has each (the
# order the resource packer searches).
gather() {
    name=$1
    shift
    mkdir -p "$OUT/$name/payload"
    files=$(cd "$OUT/$name/build" && "$WINE" MorivaneVerify.exe MorivaneSetup.exe 2>/dev/null |
        awk '$7 == "RO" || $7 == "-" { print $6 }')
    for file in $files Sapi51forQuelt.msi; do
        target="$OUT/$name/payload"
        [ "$file" = Sapi51forQuelt.msi ] && target="$OUT/$name"
        for folder in "$@"; do
            if [ -f "$folder/$file" ]; then
                cp "$folder/$file" "$target/"
                break
            fi
        done
    done
    log "$name: $(ls "$OUT/$name/payload" | wc -l) files, $(du -cb "$OUT/$name/payload"/* | tail -n 1 | cut -f1) bytes; package $(stat -c %s "$OUT/$name/Sapi51forQuelt.msi") bytes"
}

log "clean builds of MorivaneSetup ($BUILD_RUNS each)"
clean_build sample
clean_build real -DMORIVANE_PAYLOAD_DIR="$REAL_PAYLOAD"

start_xvfb
cleanup() {
    stop_wine_session
    stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM
start_wine_session current $ARCH
"$WINESERVER" -p
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1
# The accepted package is handed to the shell: here it opens as nothing, so
# that Windows Installer does not install it on every run.
"$WINE" reg add 'HKCR\Msi.Package\shell\Open\command' /ve /d 'cmd.exe /c exit' /f >/dev/null 2>&1

gather sample "$OUT/sample/build/payload" "$ROOT_DIR/resources/payload"
gather real "$REAL_PAYLOAD" "$OUT/real/build/payload" "$ROOT_DIR/resources/payload"
if [ $NSIS = 1 ]; then
    log "NSIS installers ($BUILD_RUNS builds each)"
    for name in sample real; do
        for kind in zlib solid lzma; do
            nsis_build $name $kind
        done
    done
fi
nsis_header=$(makensis -V4 -DOUTFILE="$OUT/header.exe" -DPAYLOAD="$OUT/sample/payload" \
    -DPACKAGE="$OUT/sample/Sapi51forQuelt.msi" "$ROOT_DIR/tools/bench/compare.nsi" |
    sed -n 's/^EXE header size: *\([0-9]*\).*/\1/p')

windows_path() { printf 'Z:%s\n' "$(printf '%s' "$1" | tr / '\\')"; }
value() { echo "$1" | awk -v key="$2" '$1 == key { print $2 }'; }

# measure NAME: every figure of one payload, into $OUT/NAME/figures. The
# driver runs one folder below the build, where it finds the installer.
measure() {
    name=$1
    build="$OUT/$name/build"
    log "$name: start-up, installation and package ($RUNS runs), peak ($PEAK_RUNS installations)"
    cd "$build/bench"
    bench() { "$WINE" "$build/bench_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
    {
        nsis_pages=""
        [ $NSIS = 0 ] || for kind in zlib solid lzma; do
            nsis_pages="$nsis_pages nsis_$kind $(windows_path "$OUT/$name/nsis_$kind.exe")"
        done
        # shellcheck disable=SC2086 # the pairs split into arguments
        bench firstwindow "$RUNS" setup "$(windows_path "$build/MorivaneSetup.exe")" \
            bare "$(windows_path "$OUT/sample/build/bare_dialog.exe")" \
            bare_imports "$(windows_path "$OUT/sample/build/bare_dialog_imports.exe")" \
            bare_wizard "$(windows_path "$build/bare_dialog_wizard.exe")" $nsis_pages
        bench windowpeak setup_window "$RUNS" "$(windows_path "$build/MorivaneSetup.exe")"
        bench windowpeak bare_imports_window "$RUNS" \
            "$(windows_path "$OUT/sample/build/bare_dialog_imports.exe")"
        [ $NSIS = 0 ] || for kind in zlib solid lzma; do
            bench silent "silent_$kind" "$RUNS" "$(windows_path "$OUT/$name/nsis_$kind.exe")" \
                /S "/D=C:\\nsis_${name}_$kind"
        done
        bench runinstall "$RUNS"
        bench package "$RUNS" "$(windows_path "$build/MorivaneSetup.exe")" \
            "$(windows_path "$OUT/$name/Sapi51forQuelt.msi")" "$(windows_path "$build/bench")"
        bench peak "$PEAK_RUNS" "C:\\peak_$name"
    } >"$OUT/$name/figures"
    cd "$OUT"
}
measure sample
measure real
"$WINE" "$OUT/sample/build/bench_driver.exe" windowpeak bare_peak "$RUNS" \
    "$(windows_path "$OUT/sample/build/bare_dialog.exe")" 2>/dev/null | tr -d '\r' >"$OUT/bare"
bare_peak=$(value "$(cat "$OUT/bare")" bare_peak)
ratio() { awk -v a="$1" -v b="$2" -v d="${3:-2}" 'BEGIN { printf "%.*f", d, a / b }'; }
group() { echo "$1" | sed -e ':a' -e 's/\([0-9]\)\([0-9]\{3\}\)\($\|,\)/\1,\2\3/' -e 'ta'; }

# table NAME TITLE: the figures of one payload with each aim and its ratio.
table() {
    name=$1
    f=$(cat "$OUT/$name/figures")
    build="$OUT/$name/build"
    size=$(stat -c %s "$build/MorivaneSetup.exe")
    stub=$(( size - $(cat "$build"/text/*.z | wc -c) ))
    seconds() { printf "%.1f" "$(cat "$OUT/$name/$1-seconds")"; }
    if [ $NSIS = 1 ]; then
        nz=$(group "$(stat -c %s "$OUT/$name/nsis_zlib.exe")")
        ns=$(group "$(stat -c %s "$OUT/$name/nsis_solid.exe")")
        nl=$(group "$(stat -c %s "$OUT/$name/nsis_lzma.exe")")
        build_nz="$(seconds nsis_zlib) (makensis)" build_ns=$(seconds nsis_solid)
        build_nl=$(seconds nsis_lzma)
    else
        nz="needs a host that runs 32-bit code" ns="" nl=""
        build_nz="" build_ns="" build_nl=""
    fi
    # against NSIS FIGURE NSIS_FIGURE [PLACES]: the ratio, where NSIS ran.
    against() { if [ $NSIS = 1 ]; then ratio "$1" "$(echo "$2" | tr -d ,)" "${3:-2}"; else echo "—"; fi; }
    setup=$(value "$f" setup)
    bare_ms=$(value "$f" bare)
    imports_ms=$(value "$f" bare_imports)
    wizard_ms=$(value "$f" bare_wizard)
    window=$(value "$f" setup_window)
    imports_window=$(value "$f" bare_imports_window)
    window_over=$(( window - imports_window ))
    nsis_page=$(value "$f" nsis_zlib)
    install=$(value "$f" runinstall)
    silent=$(value "$f" silent_zlib)
    silent_cell=""
    [ $NSIS = 0 ] || silent_cell="$silent (silent run)"
    extract=$(value "$f" extract)
    copy=$(value "$f" copy)
    peak=$(value "$f" peak)
    over=$(awk -v a="$peak" -v b="$bare_peak" 'BEGIN { print a - b }')
    echo "### $2, $ARCH build"
    echo
    echo "| measure | MorivaneSetup | NSIS zlib | NSIS zlib solid | NSIS LZMA solid | aim | ratio to aim |"
    echo "|---|---|---|---|---|---|---|"
    echo "| installer size, bytes | $(group "$size") | $nz | $ns | $nl | no larger than NSIS zlib | $(against "$size" "$nz" 3) |"
    echo "| stub (without TEXT resources), bytes | $(group "$stub") | $(group "$nsis_header") (EXE header) | | | under 65,536 | $(ratio "$stub" 65536) |"
    echo "| clean build, s | $(seconds build) (configure and build) | $build_nz | $build_ns | $build_nl | within 60 s | $(ratio "$(seconds build)" 60) |"
    echo "| start to first visible window, ms | $setup (bare dialog: $bare_ms) | $nsis_page | $(value "$f" nsis_solid) | $(value "$f" nsis_lzma) | no later than NSIS zlib's first page | $(against "$setup" "$nsis_page") |"
    echo "| start to first visible window over the bare dialog with the installer's imports, ms | $setup (bare dialog with imports: $imports_ms) | | | | at most $STARTUP_TIME_ALLOWANCE × the bare dialog with imports | $(ratio "$setup" "$(awk -v b="$imports_ms" -v a="$STARTUP_TIME_ALLOWANCE" 'BEGIN { print a * b }')") ($(ratio "$setup" "$imports_ms") × it) |"
    echo "| the same bare dialog showing the installer's wizard template, ms | $wizard_ms ($(ratio "$wizard_ms" "$imports_ms") × the bare dialog with imports) | | | | (what Wine takes to make the template's 24 controls) | $(ratio "$setup" "$wizard_ms") (the installer over it) |"
    echo "| working set at first window, KB | $(group "$window") (bare dialog: $(group "$bare_peak"); with the installer's imports: $(group "$imports_window"), $(group "$window_over") over it) | | | | at most $(group "$STARTUP_WINDOW_ALLOWANCE_KB") over the bare dialog with imports | $(ratio "$window_over" "$STARTUP_WINDOW_ALLOWANCE_KB") |"
    echo "| install, ms | $install (RunInstall) | $silent_cell | $(value "$f" silent_solid) | $(value "$f" silent_lzma) | RunInstall no slower than NSIS zlib's silent install | $(against "$install" "$silent") |"
    echo "| package written, ms | $extract (inflated in pieces into the file; CopyFileA: $copy) | | | | within 1.5 × CopyFileA | $(ratio "$extract" "$(awk -v c="$copy" 'BEGIN { print 1.5 * c }')") ($(ratio "$extract" "$copy") × the copy) |"
    echo "| peak working set, KB | $(group "$peak") (whole installation, package accepted; $(group "$over") over the bare dialog) | | | | at most $(group "$PEAK_ALLOWANCE_KB") over the bare dialog | $(ratio "$over" "$PEAK_ALLOWANCE_KB") |"
    echo
}

{
    table sample "Sample payload ($(ls "$OUT/sample/payload" | wc -l) files, $(group "$(du -cb "$OUT/sample/payload"/* | tail -n 1 | cut -f1)") bytes; package $(group "$(stat -c %s "$OUT/sample/Sapi51forQuelt.msi")") bytes)"
    table real "Real-size payload ($(ls "$OUT/real/payload" | wc -l) files, $(group "$(du -cb "$OUT/real/payload"/* | tail -n 1 | cut -f1)") bytes; package $(group "$(stat -c %s "$OUT/real/Sapi51forQuelt.msi")") bytes)"
    echo "Medians of $RUNS runs ($BUILD_RUNS clean builds, $PEAK_RUNS installations for the peak), Wine $("$WINE" --version | sed 's/wine-//'), $(nproc) cores, $(date -u +%Y-%m-%d). Ratios: the figure over its aim's bound; 1.00 or less meets the aim."
} | tee "$OUT/results.md"
