# Shared by scripts/run, scripts/test and scripts/bench: installs what is missing from Debian's
# packages, then configures and builds TonarixLite in <repo>/build (or $TONARIX_BUILD_DIR).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${TONARIX_BUILD_DIR:-$ROOT/build}"
JOBS="$(nproc 2>/dev/null || echo 2)"

log() { printf '\033[1m== %s\033[0m\n' "$*"; }

install_packages() {
    local wanted missing=()
    wanted=$(grep -v '^\s*#' "$ROOT/scripts/packages.txt" | awk 'NF {print $1}')
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
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    log "Building"
    cmake --build "$BUILD_DIR" --parallel "$JOBS"
}
