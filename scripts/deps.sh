#!/usr/bin/env bash
# Installs what the build, the tests and the run need, when it is missing (Debian 12, as root).
# Safe to run again: it only calls apt-get when a package is absent.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libz-mingw-w64-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  wine64 libwine-dev
  xvfb libx11-6 imagemagick locales fonts-wqy-microhei
  python3 curl nginx-light
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # nginx is only a benchmark peer; never leave Debian's default site running.
  if [[ " ${missing[*]} " == *" nginx-light "* ]]; then
    systemctl disable --now nginx >/dev/null 2>&1 || service nginx stop >/dev/null 2>&1 || true
  fi
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936 (GBK), the code page
# of the program's 8-bit texts.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  echo "deps: generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
