# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

# Debian packages the build and the tests need.
TKM_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-private-dev libjpeg62-turbo-dev fonts-liberation2 libgtest-dev libgmock-dev libbenchmark-dev)
# And what scripts/package needs to check and build the Debian package (CPack's shlibdeps runs
# dpkg-shlibdeps and file).
TKM_PACKAGING_PACKAGES=(dpkg-dev file desktop-file-utils appstream man-db)
# And what scripts/fuzz needs: Debian's clang, with libFuzzer's runtime in libclang-rt-14-dev.
TKM_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

ensure_packages() {
    local missing=()
    for p in "${TKM_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# build [extra cmake args...]: configure once, then build incrementally.
build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "$@"
    elif [ $# -gt 0 ]; then
        cmake "$BUILD_DIR" "$@"
    fi
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
