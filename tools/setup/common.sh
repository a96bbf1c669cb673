# Shared by ./run and ./test: installs missing Debian packages, configures and builds.
# Sourced, not run; expects ORMEL_ROOT to be the repository root.

ORMEL_BUILD_DIR=${ORMEL_BUILD_DIR:-$ORMEL_ROOT/build}

ormel_missing_packages() {
    local wanted package
    wanted=$(grep -v '^#' "$ORMEL_ROOT/tools/setup/packages.txt")
    for package in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

ormel_install_packages() {
    local missing
    missing=$(ormel_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing Debian packages:" $missing
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "These packages are missing and I am not root (no sudo either):" $missing >&2
            return 1
        fi
        sudo=sudo
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

ormel_build() {
    local werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    cmake -S "$ORMEL_ROOT" -B "$ORMEL_BUILD_DIR" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORMEL_WERROR=$werror "$@" >/dev/null || return 1
    cmake --build "$ORMEL_BUILD_DIR" -j "$(nproc)"
}
