# Shared set-up for scripts/run and scripts/test: installs the Debian 12 packages the build
# needs when any is missing, then offers helpers to configure, build and test a preset.

PLOVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

PLOVANE_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    clang-14 libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libsqlite3-dev
    qt6-base-dev qt6-serialport-dev qt6-multimedia-dev qt6-charts-dev
    xvfb xauth gstreamer1.0-plugins-base
    gcovr
    dpkg-dev desktop-file-utils appstream man-db file lintian
    direwolf gpsd gpsd-clients gpsd-tools sox socat iproute2 dbus-daemon
)

plovane_missing_packages() {
    local missing=()
    local pkg
    for pkg in "${PLOVANE_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    echo "${missing[@]}"
}

plovane_install_packages() {
    local missing
    missing="$(plovane_missing_packages)"
    [ -z "$missing" ] && return 0
    echo "Installing Debian packages: $missing"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    $sudo apt-get install -y -qq $missing
}

plovane_jobs() {
    nproc 2>/dev/null || echo 2
}

# plovane_build <preset> [targets...]: configure (once) and build everything or the targets.
plovane_build() {
    local preset="$1"
    shift
    cmake --preset "$preset" -S "$PLOVANE_ROOT" >/dev/null || return 1
    if [ $# -gt 0 ]; then
        cmake --build --preset "$preset" -j "$(plovane_jobs)" --target "$@"
    else
        cmake --build --preset "$preset" -j "$(plovane_jobs)"
    fi
}
