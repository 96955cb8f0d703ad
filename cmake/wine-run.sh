#!/bin/sh
# Runs one Windows program under Wine for the test suite, with the loader the
# suite chose for the build's architecture ($WINE; Debian's wine wrapper
# would take the 32-bit loader even where it cannot run). When the suite was
# started as root it names an unprivileged user in MORIVANE_WINE_UID, because
# Wine run as root may overwrite read-only files and would hide attribute faults.
wine=${WINE:-wine}
if [ -n "$MORIVANE_WINE_UID" ] && [ "$(id -u)" = 0 ]; then
    exec setpriv --reuid="$MORIVANE_WINE_UID" --regid="$MORIVANE_WINE_GID" \
        --clear-groups "$wine" "$@"
fi
exec "$wine" "$@"
