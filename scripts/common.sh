# Shared by scripts/run, scripts/test and scripts/bench: installs what is missing from Debian's
# packages, then configures and builds TonarixLite in <repo>/build (or $TONARIX_BUILD_DIR).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TONARIX_BUILD_DIR:-$ROOT/build}"
CONFIGURE_ARGS=()
# TONARIX_SANITIZE=1 (or address): the same under AddressSanitizer and UndefinedBehaviorSanitizer
# with leak checking, in a build folder of its own (build-sanitize); the build-time tools run under
# them too. TONARIX_SANITIZE=thread: under ThreadSanitizer, in build-tsan; the build-time tools run
# uninstrumented.
case "${TONARIX_SANITIZE:-0}" in
    0|"")
        ;;
    thread)
        BUILD_DIR="${TONARIX_BUILD_DIR:-$ROOT/build-tsan}"
        CONFIGURE_ARGS=(-DTONARIX_SANITIZE=thread)
        export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:history_size=7:ignore_noninstrumented_modules=1:suppressions=$ROOT/tests/sanitizer/tsan.supp"
        ;;
    *)
        BUILD_DIR="${TONARIX_BUILD_DIR:-$ROOT/build-sanitize}"
        CONFIGURE_ARGS=(-DTONARIX_SANITIZE=address)
        export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
        export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizer/lsan.supp:print_suppressions=0"
        export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
        ;;
esac
JOBS="$(nproc 2>/dev/null || echo 2)"

log() { printf '\033[1m== %s\033[0m\n' "$*"; }

# install_packages [list]: the packages of scripts/packages.txt, or of another list in its form.
install_packages() {
    local wanted missing=()
    wanted=$(grep -v '^\s*#' "${1:-$ROOT/scripts/packages.txt}" | awk 'NF {print $1}')
    for p in $wanted; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "Installing ${#missing[@]} Debian packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

configure_and_build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        log "Configuring in $BUILD_DIR"
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CONFIGURE_ARGS[@]}" "$@"
    fi
    log "Building"
    cmake --build "$BUILD_DIR" --parallel "$JOBS"
}
