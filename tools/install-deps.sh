#!/usr/bin/env bash
# Installs the cross compiler, Wine and the display tools the build and the
# tests need. Does nothing (quickly) when everything is already there; never
# prompts. Must run as root, or with passwordless sudo, when something is
# missing.
set -euo pipefail

need_pkgs=()
have() { command -v "$1" >/dev/null 2>&1; }

have i686-w64-mingw32-g++-posix || need_pkgs+=(g++-mingw-w64-i686)
have wine || need_pkgs+=(wine)
[ -e /usr/lib/wine/wine ] || [ -e /usr/lib/i386-linux-gnu/wine ] || dpkg -s wine32:i386 >/dev/null 2>&1 || need_pkgs+=(wine32:i386)
have Xvfb || need_pkgs+=(xvfb)
have xauth || need_pkgs+=(xauth)
have xdotool || need_pkgs+=(xdotool)
have import || need_pkgs+=(imagemagick)
have cmake || need_pkgs+=(cmake)
have make || need_pkgs+=(make)
have python3 || need_pkgs+=(python3)
[ -d /usr/src/googletest ] || need_pkgs+=(googletest)
[ -e /usr/share/i18n/locales/zh_CN ] || need_pkgs+=(locales)
fc-list 2>/dev/null | grep -qi 'wenquanyi micro hei' || need_pkgs+=(fonts-wqy-microhei)
[ -d /usr/share/wine/fonts ] || dpkg -s fonts-wine >/dev/null 2>&1 || need_pkgs+=(fonts-wine)
have makensis || need_pkgs+=(nsis)

need_locale=0
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need_locale=1

if [ ${#need_pkgs[@]} -eq 0 ] && [ $need_locale = 0 ]; then
  exit 0
fi

SUDO=
if [ "$(id -u)" != 0 ]; then
  if have sudo && sudo -n true 2>/dev/null; then SUDO="sudo -n"; else
    echo "install-deps: missing ${need_pkgs[*]:-} (and/or the zh_CN.UTF-8 locale); run as root" >&2
    exit 1
  fi
fi

if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "install-deps: installing ${need_pkgs[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${need_pkgs[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
