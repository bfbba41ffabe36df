#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config
          qt6-base-dev qt6-charts-dev libjpeg62-turbo-dev
          libgtest-dev libbenchmark-dev
          poppler-utils fonts-dejavu-core
          clang libclang-rt-14-dev clang-tidy)
# The install tree's checks (desktop entry, file types) and the Debian
# package (dpkg-shlibdeps names its dependencies; xdg-mime asks which
# program opens a recording).
packages+=(desktop-file-utils libxml2-utils shared-mime-info dpkg-dev xdg-utils)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
