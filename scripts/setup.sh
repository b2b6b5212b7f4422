#!/usr/bin/env bash
# Installs everything building, testing and the demo need on Debian 12. Safe to run again:
# when every package and the tinyxml2 sources are present it returns at once.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format dpkg-dev pkg-config
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine wine64 wine32:i386
  xvfb xauth x11-apps imagemagick fonts-wqy-microhei fonts-wine
  googletest libtinyxml2-dev espeak-ng sox
  python3 unzip libreoffice-writer-nogui
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

enable_sources() {
  # Source lines derived from the machine's own binary lines, so no host is named here.
  local src=/etc/apt/sources.list.d/halyard-src.sources
  [ -f "$src" ] && return 0
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: .*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | sudo_ tee "$src" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      sudo_ tee /etc/apt/sources.list.d/halyard-src.list >/dev/null
  fi
  return 1
}

need_update=0
enable_sources || need_update=1
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_ dpkg --add-architecture i386
  need_update=1
fi
if [ "${#missing[@]}" -gt 0 ] || [ ! -d "$top/third_party/tinyxml2-src" ]; then
  need_update=1
fi
# A mirror in the middle of a sync serves index files of the wrong size for a while; apt then
# reports an error although most indexes are fine. Try a few times, then go on with what arrived:
# the install below fails clearly if a package really cannot be found.
refresh_indexes() {
  local attempt
  for attempt in 1 2; do
    sudo_ apt-get update -qq && return 0
    echo "setup: package index refresh failed (attempt $attempt), retrying" >&2
    sleep $((attempt * 10))
  done
  echo "setup: going on with the package indexes that did arrive" >&2
}

# When one architecture's security index is missing, apt picks newer security builds for amd64
# that have no i386 twin and refuses wine32. Preferring the release's own suite keeps both
# architectures on the same versions.
install_missing() {
  local attempt codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  for attempt in 1 2 3; do
    apt_install "$@" && return 0
    if [ -n "$codename" ]; then
      echo "setup: install failed, retrying with the $codename suite preferred" >&2
      apt_install -t "$codename" "$@" && return 0
    fi
    echo "setup: install failed (attempt $attempt), refreshing indexes and retrying" >&2
    sleep $((attempt * 15))
    sudo_ apt-get update -qq || true
  done
  echo "setup: could not install $*" >&2
  return 1
}

apt_install() {
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if [ "$need_update" -eq 1 ]; then
  refresh_indexes
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  # wine32 must be in place before any Wine prefix is made; prefixes live under build folders.
  install_missing "${missing[@]}"
fi

# tinyxml2 for the Windows builds: Debian's own source package, never committed.
if [ ! -f "$top/third_party/tinyxml2-src/tinyxml2.cpp" ]; then
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq --download-only tinyxml2 >/dev/null 2>&1 || apt-get source -qq tinyxml2 >/dev/null)
  (cd "$tmp" && dpkg-source -x --no-check ./*.dsc src >/dev/null 2>&1 || true)
  dir=$(find "$tmp" -maxdepth 2 -name tinyxml2.cpp -printf '%h\n' | head -n 1)
  [ -n "$dir" ] || { echo "setup: tinyxml2 sources not found" >&2; exit 1; }
  mkdir -p "$top/third_party"
  rm -rf "$top/third_party/tinyxml2-src"
  mkdir -p "$top/third_party/tinyxml2-src"
  cp "$dir/tinyxml2.cpp" "$dir/tinyxml2.h" "$top/third_party/tinyxml2-src/"
  rm -rf "$tmp"
fi
echo "setup: ready"
