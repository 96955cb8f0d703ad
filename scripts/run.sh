#!/bin/sh
# Installs what is needed, builds the installer and starts it under Wine: the
# shipped i686 build where the host runs 32-bit code, else the x86_64 build
# of the same sources. Without a display it runs under Xvfb and leaves
# build/screenshot.png.
set -eu
. "$(dirname "$0")/common.sh"

ensure_packages
ensure_locales
build_arch i686 MorivaneSetup
arch=i686
if ! host_runs_32bit; then
    arch=x86_64
    build_arch x86_64 MorivaneSetup
fi
setup="$(build_dir_of $arch)/MorivaneSetup.exe"

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb
fi
cleanup() {
    stop_wine_session
    stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM
start_wine_session current $arch
if [ $arch = i686 ]; then
    log "starting the shipped i686 installer: $setup"
else
    log "starting the x86_64 test build (this host runs no 32-bit code): $setup"
fi

"$WINE" "$setup" &
SETUP_PID=$!
if [ $headless = 1 ]; then
    sleep "${MORIVANE_SCREENSHOT_DELAY:-4}"
    import -window root "$BUILD_DIR/screenshot.png"
    log "screenshot: $BUILD_DIR/screenshot.png"
    # Nobody can click through the wizard here: press Esc, as a user would to
    # cancel, and end it by force only if that does not work.
    window=$(xdotool search --name "Morivane Installer" 2>/dev/null | head -n 1)
    if [ -n "$window" ]; then
        xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
    fi
    for _ in $(seq 1 20); do
        kill -0 $SETUP_PID 2>/dev/null || break
        sleep 0.5
    done
    kill -0 $SETUP_PID 2>/dev/null && "$WINESERVER" -k
fi
status=0
wait $SETUP_PID || status=$?
log "MorivaneSetup.exe exit code: $status"
