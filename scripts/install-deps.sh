#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Idempotent: asks apt only for what is missing, and updates its lists once at most.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git clang libclang-rt-dev
    qt6-base-dev qt6-svg-dev qt6-webengine-dev libgl-dev
    nlohmann-json3-dev libcpp-httplib-dev libsqlite3-dev libssl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-apps imagemagick fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "installing: ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >&2
