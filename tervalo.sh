#!/usr/bin/env bash
# Installs what the program needs on Debian 12, builds it, and either starts
# it on a ready data folder or runs every test without a screen.
#   ./tervalo.sh start    install, build, prepare the data folder, start
#   ./tervalo.sh test     install, build, run all tests headless
#   ./tervalo.sh fuzz N [J] install clang, build the fuzz drivers, run each N seconds (J at a time)
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n
    libsqlite3-dev libzip-dev libdeflate-dev zlib1g-dev libpugixml-dev libqpdf-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    ccache
    fonts-liberation poppler-utils
    libcurl4-openssl-dev python3-pyftpdlib
)

# Only for using the program: LibreOffice Writer shows, prints and converts
# documents, the CUPS client sends them to the printer.
start_packages=(
    libreoffice-writer libreoffice-l10n-es fonts-liberation2 cups-client
    xdg-utils
)

# The fuzz drivers: clang with libFuzzer and the sanitizers' runtimes.
fuzz_packages=(clang libclang-rt-14-dev)

# Tests convert and print documents with LibreOffice, and show them with
# Writer's windows on a virtual X display (Xvfb) with a window manager
# (openbox) of their own.
test_packages=(libreoffice-writer fonts-liberation2 xvfb openbox)

install_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build
}

# The folder that stands for drive C: (the program uses the same default).
drive_c() {
    echo "${TERVALO_C:-${XDG_DATA_HOME:-$HOME/.local/share}/tervalo/C}"
}

# What an installation leaves in the program folder: pictures and logo; and
# the databases with the sample catalogue when the folder has no catalogue.
prepare_data() {
    local program
    program="$(drive_c)/Quelvan/Dorvane"
    # Drive C: holds the office's data: a folder made here is its owner's alone.
    [ -d "$(drive_c)" ] || mkdir -p -m 700 "$(drive_c)"
    mkdir -p "$program"
    # What the office may have changed there (the register) is never replaced.
    cp -rn resources/programa/. "$program/"
    TERVALO_C="$(drive_c)" build/src/catalogue/tervalo_muestra resources/muestra
    echo "Carpeta de datos: $(drive_c)"
}

case "${1:-}" in
start)
    install_packages "${packages[@]}" "${start_packages[@]}"
    build
    prepare_data
    exec build/src/tervalo
    ;;
test)
    install_packages "${packages[@]}" "${test_packages[@]}"
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure
    ;;
fuzz)
    install_packages "${packages[@]}" "${fuzz_packages[@]}"
    exec fuzz/run.sh "${2:-600}" ${3:+"$3"}
    ;;
*)
    echo "uso: $0 start|test|fuzz [segundos]" >&2
    exit 2
    ;;
esac
