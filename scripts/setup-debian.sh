#!/bin/sh
# Installs the Debian 12 packages the build needs, only those that are missing: as root
# directly, else through sudo; without either it names what to install and stops.
set -eu
packages="make cmake ninja-build g++ qt6-base-dev libxcb1-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core $*"
missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
cannot() {
    echo "setup-debian: $1. These Debian packages are missing:$missing" >&2
    echo "Install them as root (su -c 'apt-get install$missing'), then run make again." >&2
    exit 1
}
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || cannot "not root, and sudo is not installed"
    sudo="sudo"
fi
$sudo apt-get update -qq || cannot "apt-get update failed"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing ||
    cannot "apt-get install failed"
