# Debian packages the builds and tests need; sourced by the scripts beside it.
#   ensure_packages PKG...   installs the ones that are missing (apt-get)

ensure_packages() {
    local missing="" p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "== installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [ ! -f /tmp/.quillom-apt-updated ]; then
        $sudo apt-get update -qq && touch /tmp/.quillom-apt-updated
    fi
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

LINUX_PACKAGES="cmake ninja-build ccache g++ make python3 python3-yaml googletest libgtest-dev libgmock-dev libbenchmark-dev unicode-data hunspell"
FUZZ_PACKAGES="clang libclang-rt-14-dev"
FORMAT_PACKAGES="clang-format-14"
WINDOWS_PACKAGES="g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-xkb-utils xauth xclip imagemagick fonts-wine fonts-liberation zip"
