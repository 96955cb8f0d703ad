#!/bin/sh
# Installs what is needed, builds, and runs the whole test suite: the host
# checks on the shipped i686 build, and the Wine tests (under Xvfb) on the
# x86_64 build everywhere and on the i686 build wherever the host runs 32-bit
# code. MORIVANE_TEST_ARCH=i686|x86_64|both chooses the Wine tests' builds
# by hand. Exits non-zero when any test fails.
set -eu
. "$(dirname "$0")/common.sh"

ensure_packages
ensure_locales
choose_reachable_build_dir

# choose_wine_archs: the builds whose Wine tests run, in WINE_ARCHS, and why
# the i686 ones do not where they do not, in I686_SKIP_REASON.
choose_wine_archs() {
    I686_SKIP_REASON=""
    if host_runs_32bit; then runs32=1; else runs32=0; fi
    case ${MORIVANE_TEST_ARCH:-auto} in
    auto)
        if [ $runs32 = 1 ]; then
            WINE_ARCHS="i686 x86_64"
        else
            WINE_ARCHS="x86_64"
            I686_SKIP_REASON="this host runs no 32-bit code"
        fi
        ;;
    x86_64)
        WINE_ARCHS="x86_64"
        I686_SKIP_REASON="MORIVANE_TEST_ARCH=x86_64 chose the x86_64 build alone"
        ;;
    i686 | both)
        if [ $runs32 = 0 ]; then
            echo "MORIVANE_TEST_ARCH=$MORIVANE_TEST_ARCH: this host runs no 32-bit code, so the i686 build cannot run under Wine here" >&2
            exit 2
        fi
        if [ "$MORIVANE_TEST_ARCH" = i686 ]; then
            WINE_ARCHS="i686"
        else
            WINE_ARCHS="i686 x86_64"
        fi
        ;;
    *)
        echo "MORIVANE_TEST_ARCH must be i686, x86_64 or both, not '$MORIVANE_TEST_ARCH'" >&2
        exit 2
        ;;
    esac
}

choose_wine_archs
if [ -n "$I686_SKIP_REASON" ]; then
    log "testing: host checks on the shipped i686 build; Wine tests on $WINE_ARCHS; i686 Wine tests skipped ($I686_SKIP_REASON)"
else
    log "testing: host checks on the shipped i686 build; Wine tests on $(echo "$WINE_ARCHS" | sed 's/ / and /')"
fi

# The shipped build always: its host checks run on every host.
if [ -n "$I686_SKIP_REASON" ]; then
    build_arch i686 -- -DMORIVANE_WINE_TESTS=OFF "-DMORIVANE_WINE_SKIP_REASON=$I686_SKIP_REASON"
else
    build_arch i686 -- -DMORIVANE_WINE_TESTS=ON
fi
case " $WINE_ARCHS " in
*" x86_64 "*) build_arch x86_64 -- -DMORIVANE_SHIPPED_INSTALLER="$BUILD_DIR/MorivaneSetup.exe" ;;
esac

# start_test_session ARCH: a Wine session for ARCH's tests, sharing the
# suite's display; stop_test_session undoes it, whatever it got to.
start_test_session() {
    arch_dir=$(build_dir_of "$1")
    start_wine_session unprivileged "$1" || return 1

    # The Wine user writes its pictures and scratch files here.
    mkdir -p "$arch_dir/test-output"
    if [ -n "${MORIVANE_WINE_UID:-}" ]; then
        chown "$MORIVANE_WINE_UID:$MORIVANE_WINE_GID" "$arch_dir/test-output"
    fi
    if ! as_wine_user test -r "$arch_dir/MorivaneSetup.exe"; then
        echo "the Wine user cannot read $arch_dir; set MORIVANE_BUILD_DIR to a folder it can" >&2
        return 1
    fi

    # A small drive E: for the full-disk test, where this machine lets us mount.
    FULL_DISK=""
    if [ "$(id -u)" = 0 ]; then
        FULL_DISK="$WINE_SCRATCH/full-disk"
        mkdir -p "$FULL_DISK"
        # The Wine user's own drive: one every account may change would be
        # asked about before anything is installed on it.
        if mount -t tmpfs -o "size=1m,mode=0755,uid=${MORIVANE_WINE_UID:-0},gid=${MORIVANE_WINE_GID:-0}" \
            tmpfs "$FULL_DISK" 2>/dev/null; then
            ln -sfn "$FULL_DISK" "$WINEPREFIX/dosdevices/e:"
        else
            FULL_DISK=""
        fi
    fi

    # Keep the server and the desktop alive across tests; services started by
    # the first test must not inherit ctest's output, or ctest waits for them
    # forever.
    as_wine_user "$WINESERVER" -p
    as_wine_user "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
    ready="$WINE_SCRATCH/home/desktop-ready"
    as_wine_user "$WINE" "$arch_dir/tests/session_idle.exe" "Z:$(echo "$ready" | tr / '\\')" \
        </dev/null >/dev/null 2>&1 &
    IDLE_PID=$!
    for _ in $(seq 1 300); do
        [ -e "$ready" ] && break
        sleep 0.1
    done
    [ -e "$ready" ] || echo "warning: the Wine desktop did not report ready" >&2
    return 0
}

stop_test_session() {
    if [ -n "${IDLE_PID:-}" ]; then
        kill "$IDLE_PID" 2>/dev/null || true
    fi
    if [ -n "${FULL_DISK:-}" ]; then
        umount "$FULL_DISK" 2>/dev/null || true
    fi
    IDLE_PID="" FULL_DISK=""
    stop_wine_session
}

cleanup() {
    stop_test_session
    stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# run_ctest ARCH: one build's tests; adds to $status and to the counts.
run_ctest() {
    dir=$(build_dir_of "$1")
    results="$dir/Testing/results.xml"
    rm -f "$results"
    ctest --test-dir "$dir" --output-on-failure --timeout 300 --output-junit "$results" \
        ${MORIVANE_CTEST_ARGS:-} || status=1
    if [ -f "$results" ]; then
        count() { sed -n "s/^[[:space:]]*$1=\"\([0-9]*\)\"/\1/p" "$results" | head -n 1; }
        total=$((total + $(count tests)))
        failed=$((failed + $(count failures)))
        skipped=$((skipped + $(count skipped) + $(count disabled)))
    else
        failed=$((failed + 1))
    fi
    for picture in "$dir"/test-output/*.bmp; do
        [ -e "$picture" ] && convert "$picture" "${picture%.bmp}.png" 2>/dev/null
    done
    log "pictures: $(ls "$dir"/test-output/*.png 2>/dev/null | tr '\n' ' ')"
}

status=0 total=0 failed=0 skipped=0
start_xvfb
for arch in i686 x86_64; do
    case " $WINE_ARCHS " in
    *" $arch "*)
        log "$arch build: Wine tests$([ $arch = i686 ] && echo ' and host checks')"
        if start_test_session $arch; then
            run_ctest $arch
        else
            echo "FAIL: no Wine session for the $arch build" >&2
            status=1 failed=$((failed + 1))
        fi
        stop_test_session
        ;;
    *)
        # The shipped build's host checks need no Wine; its Wine tests are
        # reported as skipped, with the reason.
        if [ $arch = i686 ]; then
            log "i686 build: host checks; Wine tests skipped ($I686_SKIP_REASON)"
            run_ctest i686
        fi
        ;;
    esac
done
# Both builds' tests in one line; skipped tests are counted apart, never as passed.
echo "suite: $((total - failed - skipped)) passed, $failed failed, $skipped skipped"
[ $failed = 0 ] || status=1
exit $status
