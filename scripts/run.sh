#!/bin/sh
# Installs what is needed, builds the installer and starts it under Wine.
# Without a display it runs under Xvfb and leaves build/screenshot.png.
set -eu
. "$(dirname "$0")/common.sh"

ensure_packages
ensure_locales
build MorivaneSetup

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb
fi
trap stop_wine_session EXIT INT TERM
start_wine_session current

wine "$BUILD_DIR/MorivaneSetup.exe" &
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
    kill -0 $SETUP_PID 2>/dev/null && wineserver -k
fi
status=0
wait $SETUP_PID || status=$?
log "MorivaneSetup.exe exit code: $status"
