# Shared by run.sh and test.sh: packages, build, and a Wine session under
# Xvfb with its own prefix and scratch HOME. Source it; do not run it.

PACKAGES="locales wine wine32:i386 wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
libz-mingw-w64-dev cmake ninja-build googletest xvfb xauth x11-utils xdotool imagemagick msitools wixl
unifont zopfli libdeflate-tools python3 osslsigncode openssl"

ROOT_DIR=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${MORIVANE_BUILD_DIR:-$ROOT_DIR/build}

log() { echo "== $*"; }

# Installs whatever is missing; does nothing when all is there.
ensure_packages() {
    missing=""
    for package in $PACKAGES; do
        dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
            missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "missing packages:$missing (run as root to install them)" >&2
        exit 1
    fi
    log "installing:$missing"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# Wine names Unix files in the Unix locale's character set: without these
# locales, Chinese shortcut and folder names cannot be created at all.
LOCALES="zh_CN zh_TW zh_HK ja_JP"

ensure_locales() {
    for name in $LOCALES; do
        locale -a 2>/dev/null | grep -qx "$name.utf8" && continue
        if [ "$(id -u)" != 0 ]; then
            echo "missing locale $name.UTF-8 (run as root to generate it)" >&2
            exit 1
        fi
        log "generating locale $name.UTF-8"
        localedef -i "$name" -f UTF-8 "$name.UTF-8"
    done
}

# The unprivileged Wine user must reach the build folder. A checkout it
# cannot reach (under /root, say) is built in /tmp instead.
choose_reachable_build_dir() {
    [ "$(id -u)" = 0 ] && [ -z "${MORIVANE_BUILD_DIR:-}" ] || return 0
    if ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$ROOT_DIR"; then
        BUILD_DIR="/tmp/morivane-build-$(printf '%s' "$ROOT_DIR" | md5sum | cut -c1-8)"
        log "building in $BUILD_DIR: the Wine test user cannot reach $ROOT_DIR"
    fi
}

# The shipped installer is the i686 build in $BUILD_DIR; the x86_64 build of
# the same sources, for testing only, goes into $BUILD_DIR/x86_64.
build_dir_of() {
    if [ "$1" = i686 ]; then echo "$BUILD_DIR"; else echo "$BUILD_DIR/$1"; fi
}

# host_runs_32bit: whether this host runs 32-bit x86 programs, found out by
# running one (Wine's 32-bit loader), since some x86-64 hosts run 64-bit
# user code only and nothing in a name or version tells.
host_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# build_arch ARCH [targets...] [-- cmake options]: configures the build of
# ARCH (again when options are given, so that they take), then builds.
build_arch() {
    arch=$1
    shift
    targets=""
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        targets="$targets $1"
        shift
    done
    [ $# -gt 0 ] && shift
    dir=$(build_dir_of "$arch")
    if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
        cmake -S "$ROOT_DIR" -B "$dir" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/$arch-w64-mingw32.cmake" \
            ${MORIVANE_CMAKE_ARGS:-} "$@" >/dev/null
    fi
    if [ -n "$targets" ]; then
        cmake --build "$dir" --target $targets
    else
        cmake --build "$dir"
    fi
}

# Runs a command as the Wine user (see start_wine_session).
as_wine_user() {
    if [ -n "${MORIVANE_WINE_UID:-}" ]; then
        setpriv --reuid="$MORIVANE_WINE_UID" --regid="$MORIVANE_WINE_GID" --clear-groups "$@"
    else
        "$@"
    fi
}

# start_xvfb: a private X display; sets DISPLAY and XVFB_PID.
start_xvfb() {
    number=77
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    # -ac lets the unprivileged Wine user draw on root's display.
    Xvfb ":$number" -ac -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$number"
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$number" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    exit 1
}

# select_wine ARCH: the Wine loader and server of a prefix for ARCH's
# programs. Debian's wine, wineboot and reg wrappers take the 32-bit loader
# whenever its file exists, even where it cannot run, so every call below
# names the loader itself ($WINE).
select_wine() {
    if [ "$1" = i686 ]; then
        WINEARCH=win32 WINE=/usr/lib/wine/wine
    else
        WINEARCH=win64 WINE=/usr/lib/wine/wine64
    fi
    export WINEARCH WINE WINELOADER="$WINE" WINESERVER=/usr/lib/wine/wineserver64
}

# start_wine_session USER_MODE [ARCH]: a fresh prefix and HOME in a scratch
# folder, for ARCH's programs (default i686). With USER_MODE=unprivileged and
# root running, Wine runs as nobody: Wine run as root may overwrite
# read-only files and hide attribute faults.
start_wine_session() {
    select_wine "${2:-i686}"
    WINE_SCRATCH=$(mktemp -d /tmp/morivane-wine.XXXXXX)
    chmod 755 "$WINE_SCRATCH"
    if [ "$1" = unprivileged ] && [ "$(id -u)" = 0 ]; then
        export MORIVANE_WINE_UID=65534 MORIVANE_WINE_GID=65534 USER=nobody
        chown "$MORIVANE_WINE_UID:$MORIVANE_WINE_GID" "$WINE_SCRATCH"
    fi
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEPREFIX="$WINE_SCRATCH/prefix" HOME="$WINE_SCRATCH/home"
    as_wine_user mkdir -p "$HOME"
    log "new $WINEARCH Wine prefix in $WINEPREFIX"
    if ! as_wine_user "$WINE" wineboot -i >/dev/null 2>&1; then
        echo "wineboot failed in a $WINEARCH prefix" >&2
        return 1
    fi
    # Without a window manager, every window close otherwise stalls.
    as_wine_user "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1
    as_wine_user "$WINESERVER" -w
}

# stop_wine_session: ends the session's Wine and removes its scratch folder;
# safe to call at any point, also when the session never started.
stop_wine_session() {
    if [ -n "${WINEPREFIX:-}" ] && [ -n "${WINESERVER:-}" ]; then
        as_wine_user "$WINESERVER" -k >/dev/null 2>&1 || true
    fi
    if [ -n "${WINE_SCRATCH:-}" ]; then
        rm -rf "$WINE_SCRATCH"
    fi
    WINE_SCRATCH="" WINEPREFIX=""
    return 0
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
    fi
    XVFB_PID=""
    return 0
}
