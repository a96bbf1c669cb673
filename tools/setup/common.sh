# Shared by ./run and ./test: installs missing Debian packages, configures and builds.
# Sourced, not run; expects ORMEL_ROOT to be the repository root.

ORMEL_BUILD_DIR=${ORMEL_BUILD_DIR:-$ORMEL_ROOT/build}

# The packages of the given lists (tools/setup/*.txt) that are not installed.
ormel_missing_packages() {
    local list package
    for list in "$@"; do
        for package in $(grep -v '^#' "$ORMEL_ROOT/tools/setup/$list"); do
            if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
                grep -q "install ok installed"; then
                echo "$package"
            fi
        done
    done
}

# ormel_install_packages LIST...: installs what the lists name and the machine lacks.
ormel_install_packages() {
    local missing
    missing=$(ormel_missing_packages "$@")
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

# ormel_build app|all: configures, then builds the application alone (app) or with its
# tests, benchmarks and sanitizer programs (all).
ormel_build() {
    local werror=OFF with_tests=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    [ "$1" = "all" ] && with_tests=ON
    cmake -S "$ORMEL_ROOT" -B "$ORMEL_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORMEL_WERROR=$werror -DORMEL_TESTS=$with_tests -DORMEL_BENCH=$with_tests >/dev/null ||
        return 1
    if [ "$1" = "all" ]; then
        cmake --build "$ORMEL_BUILD_DIR" -j "$(nproc)"
    else
        cmake --build "$ORMEL_BUILD_DIR" -j "$(nproc)" --target ormel
    fi
}
