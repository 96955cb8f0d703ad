#!/bin/sh
# Installs what is needed, builds, and runs the whole test suite under Wine
# inside Xvfb. Exits non-zero when any test fails.
set -eu
. "$(dirname "$0")/common.sh"

ensure_packages
ensure_locales
choose_reachable_build_dir
build

start_xvfb
cleanup() {
    kill "${IDLE_PID:-}" 2>/dev/null
    [ -n "${FULL_DISK:-}" ] && umount "$FULL_DISK" 2>/dev/null
    stop_wine_session
}
trap cleanup EXIT INT TERM
start_wine_session unprivileged

# The Wine user writes its pictures and scratch files here.
OUTPUT_DIR="$BUILD_DIR/test-output"
mkdir -p "$OUTPUT_DIR"
[ -n "${MORIVANE_WINE_UID:-}" ] && chown "$MORIVANE_WINE_UID:$MORIVANE_WINE_GID" "$OUTPUT_DIR"
if ! as_wine_user test -r "$BUILD_DIR/MorivaneSetup.exe"; then
    echo "the Wine user cannot read $BUILD_DIR; set MORIVANE_BUILD_DIR to a folder it can" >&2
    exit 1
fi

# A small drive E: for the full-disk test, where this machine lets us mount.
if [ "$(id -u)" = 0 ]; then
    FULL_DISK="$WINE_SCRATCH/full-disk"
    mkdir -p "$FULL_DISK"
    if mount -t tmpfs -o size=1m,mode=0777 tmpfs "$FULL_DISK" 2>/dev/null; then
        ln -sfn "$FULL_DISK" "$WINEPREFIX/dosdevices/e:"
    else
        FULL_DISK=""
    fi
fi

# Keep the server and the desktop alive across tests; services started by the
# first test must not inherit ctest's output, or ctest waits for them forever.
as_wine_user wineserver -p
as_wine_user wine cmd /c exit </dev/null >/dev/null 2>&1
READY="$WINE_SCRATCH/home/desktop-ready"
as_wine_user wine "$BUILD_DIR/tests/session_idle.exe" "Z:$(echo "$READY" | tr / '\\')" \
    </dev/null >/dev/null 2>&1 &
IDLE_PID=$!
for _ in $(seq 1 300); do
    [ -e "$READY" ] && break
    sleep 0.1
done
[ -e "$READY" ] || echo "warning: the Wine desktop did not report ready" >&2

status=0
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300 ${MORIVANE_CTEST_ARGS:-} || status=$?
for picture in "$OUTPUT_DIR"/*.bmp; do
    [ -e "$picture" ] && convert "$picture" "${picture%.bmp}.png" 2>/dev/null
done
log "pictures: $(ls "$OUTPUT_DIR"/*.png 2>/dev/null | tr '\n' ' ')"
exit $status
