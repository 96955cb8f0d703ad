#!/bin/sh
# Runs one Windows program under Wine for the test suite. When the suite was
# started as root it names an unprivileged user in MORIVANE_WINE_UID, because
# Wine run as root may overwrite read-only files and would hide attribute faults.
if [ -n "$MORIVANE_WINE_UID" ] && [ "$(id -u)" = 0 ]; then
    exec setpriv --reuid="$MORIVANE_WINE_UID" --regid="$MORIVANE_WINE_GID" \
        --clear-groups wine "$@"
fi
exec wine "$@"
