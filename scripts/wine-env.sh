#!/usr/bin/env bash
# A private Wine prefix for KXWizard.exe, shared by scripts/run.sh and the end-to-end tests.
#
#   wine-env.sh prepare PREFIX              create the prefix if needed and start its
#                                           wineserver (kept alive) and services
#   wine-env.sh ports PREFIX [N=DEVICE...]  point COMN at DEVICE, every other COM1..COM100
#                                           at a directory, which no serial open accepts
#   wine-env.sh stop PREFIX                 end the prefix's wineserver and its programs
#
# Wine's mount manager rewrites the comN links when the prefix's services start, so
# `ports` must run after `prepare`, while the wineserver that `prepare` started runs.
# A missing or dangling comN link would fall back to /dev/ttyS(N-1): hence the directory.
set -euo pipefail

export WINEDEBUG=-all
# No Mono or Gecko installers: the wizard needs neither, and they would wait for a click.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="

usage() {
    sed -n '2,11p' "$0" >&2
    exit 2
}

prepare() {
    export WINEPREFIX="$1"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        # Without a window manager's part in it, closing windows does not wait on the WM.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # The About box asks for the font 宋体, which Wine lacks: draw its Chinese texts
        # with a Chinese font from the system instead of empty boxes. (A UTF-16 .reg file
        # keeps the font's name intact whatever the locale.)
        local fonts="$WINEPREFIX/font-replacements.reg"
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"宋体"="WenQuanYi Micro Hei"\r\n' |
            iconv -f UTF-8 -t UTF-16 >"$fonts"
        wine regedit /S "$fonts" >/dev/null 2>&1
        wineserver --wait
    fi
    wineserver --persistent
    wineboot >/dev/null 2>&1
}

ports() {
    local prefix="$1"
    shift
    local devices="$prefix/dosdevices"
    local nowhere="$prefix/no-serial-port"
    mkdir -p "$nowhere"
    declare -A wanted=()
    local pair
    for pair in "$@"; do
        wanted[${pair%%=*}]="${pair#*=}"
    done
    local n
    for n in $(seq 1 100); do
        ln -sfn "${wanted[$n]:-$nowhere}" "$devices/com$n"
    done
}

stop() {
    WINEPREFIX="$1" wineserver --kill >/dev/null 2>&1 || true
}

[ $# -ge 2 ] || usage
command="$1"
shift
case "$command" in
    prepare) prepare "$@" ;;
    ports) ports "$@" ;;
    stop) stop "$@" ;;
    *) usage ;;
esac
