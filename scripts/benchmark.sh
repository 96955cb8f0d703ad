#!/bin/sh
# Measures, on demand and side by side under Wine: start-up to a visible
# wizard against a bare dialog program, RunInstall itself, the installer's
# peak working set over a whole installation, and an NSIS installer of the
# same payload (size, first page, silent install time). Medians of RUNS runs
# (default 7); results in build/benchmark/results.md.
set -eu
. "$(dirname "$0")/common.sh"
PACKAGES="$PACKAGES nsis"
RUNS=${RUNS:-7}

ensure_packages
ensure_locales
build MorivaneSetup MorivaneVerify bench_driver bare_dialog

OUT="$BUILD_DIR/benchmark"
rm -rf "$OUT"
mkdir -p "$OUT/payload"
start_xvfb
trap stop_wine_session EXIT INT TERM
start_wine_session current
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1

# The payload files by their installed names, as the installer lists them.
names=$(cd "$BUILD_DIR" && wine MorivaneVerify.exe MorivaneSetup.exe 2>/dev/null |
    awk '$7 == "RO" || $7 == "-" { print $6 }')
for name in $names; do
    for folder in "$BUILD_DIR/payload" "$ROOT_DIR/resources/payload"; do
        if [ -f "$folder/$name" ]; then
            cp "$folder/$name" "$OUT/payload/"
            break
        fi
    done
done
log "payload: $(ls "$OUT/payload" | wc -l) files, $(du -cb "$OUT/payload"/* | tail -n 1 | cut -f1) bytes"

nsis_header=""
for kind in zlib solid; do
    solid=""
    [ $kind = solid ] && solid="-DSOLID"
    makensis -V2 $solid -DOUTFILE="$OUT/nsis_$kind.exe" -DPAYLOAD="$OUT/payload" \
        "$ROOT_DIR/tools/bench/compare.nsi" >"$OUT/makensis_$kind.log"
    nsis_header=$(makensis -V4 $solid -DOUTFILE="$OUT/nsis_$kind.exe" -DPAYLOAD="$OUT/payload" \
        "$ROOT_DIR/tools/bench/compare.nsi" | sed -n 's/^EXE header size: *\([0-9]*\).*/\1/p')
done

# The same installer compressed with zlib -9, for the size comparison.
ZLIB_BUILD="$OUT/zlib-build"
cmake -S "$ROOT_DIR" -B "$ZLIB_BUILD" -G Ninja -DMORIVANE_TESTS=OFF -DMORIVANE_COMPRESSOR=zlib \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/i686-w64-mingw32.cmake" >/dev/null
cmake --build "$ZLIB_BUILD" --target MorivaneSetup >/dev/null

# The driver finds the installer one folder up, as the tests do.
cd "$OUT"
bench() { wine "$BUILD_DIR/bench_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
windows_path() { printf 'Z:%s\n' "$(printf '%s' "$1" | tr / '\\')"; }
log "start-up ($RUNS runs each)"
setup=$(bench firstwindow setup "$RUNS" "$(windows_path "$BUILD_DIR/MorivaneSetup.exe")")
bare=$(bench firstwindow bare "$RUNS" "$(windows_path "$BUILD_DIR/bare_dialog.exe")")
nsis_zlib=$(bench firstwindow nsis "$RUNS" "$(windows_path "$OUT/nsis_zlib.exe")")
nsis_solid=$(bench firstwindow nsis "$RUNS" "$(windows_path "$OUT/nsis_solid.exe")")
log "installation times"
runinstall=$(bench runinstall "$RUNS")
silent_zlib=$(bench silent nsis "$RUNS" "$(windows_path "$OUT/nsis_zlib.exe")" /S '/D=C:\nsis_zlib')
silent_solid=$(bench silent nsis "$RUNS" "$(windows_path "$OUT/nsis_solid.exe")" /S '/D=C:\nsis_solid')
log "peak working set (3 whole installations)"
peak=$(bench peak 3 'C:\bench_peak')

value() { echo "$1" | awk '{ print $2 }'; }
size() { stat -c %s "$1"; }
stub=$(cd "$BUILD_DIR" && wine MorivaneVerify.exe MorivaneSetup.exe 2>/dev/null |
    sed -n 's/.*about \([0-9]*\) without them.*/\1/p')
ratio=$(awk -v a="$(value "$setup")" -v b="$(value "$bare")" 'BEGIN { printf "%.2f", a / b }')

{
    echo "| measure | MorivaneSetup | NSIS zlib | NSIS zlib solid |"
    echo "|---|---|---|---|"
    echo "| installer size, bytes | $(size "$BUILD_DIR/MorivaneSetup.exe") (zopfli), $(size "$ZLIB_BUILD/MorivaneSetup.exe") (zlib -9) | $(size "$OUT/nsis_zlib.exe") | $(size "$OUT/nsis_solid.exe") |"
    echo "| stub (without payload), bytes | about $stub | $nsis_header (EXE header) | $nsis_header |"
    echo "| start to first visible window, ms | $(value "$setup") (bare dialog: $(value "$bare"); ratio $ratio) | $(value "$nsis_zlib") | $(value "$nsis_solid") |"
    echo "| install time, ms | $(value "$runinstall") (RunInstall) | $(value "$silent_zlib") (whole silent run) | $(value "$silent_solid") (whole silent run) |"
    echo "| peak working set, KB | $(value "$peak") (whole installation) | | |"
    echo
    echo "Medians of $RUNS runs (3 for the working set), Wine $(wine --version | sed 's/wine-//'), $(date -u +%Y-%m-%d)."
} | tee "$OUT/results.md"
