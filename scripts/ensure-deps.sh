#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# only those that are missing. Sourced by ./run and ./test.

zhr_ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Устанавливаю недостающие пакеты / installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo="sudo"
        else
            echo "Нужны права root для: apt-get install ${missing[*]}" >&2
            echo "Root is needed to run: apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq || true
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the program and its tests needs (the report is printed through
# Qt's print support; the tests read its PDF back with poppler-utils;
# qt6-base-private-dev: the tests switch accessibility on as a screen reader does).
ZHR_BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-base-private-dev qt6-qpa-plugins libgtest-dev libbenchmark-dev
                    fonts-liberation2 fonts-dejavu-core
                    libopencv-core-dev libopencv-imgproc-dev libtesseract-dev tesseract-ocr-rus tesseract-ocr-eng
                    tesseract-ocr-deu tesseract-ocr-ita tesseract-ocr-pol
                    fonts-paratype fonts-crosextra-carlito
                    libqt6printsupport6 poppler-utils)

# Typefaces the ticket reader's digit model is drawn from (scripts/make-digit-model.sh),
# and the ones held back from it to judge the reader (scripts/scan-eval.sh).
ZHR_SCAN_MODEL_FONTS=(fonts-dejavu-core fonts-dejavu-extra fonts-liberation2 fonts-freefont-ttf fonts-croscore
                      fonts-urw-base35 fonts-noto-mono fonts-open-sans fonts-roboto-unhinted fonts-cantarell
                      fonts-texgyre fonts-noto-core)
ZHR_SCAN_EVAL_FONTS=(fonts-paratype fonts-crosextra-carlito fonts-crosextra-caladea fonts-linuxlibertine
                     fonts-lato fonts-comfortaa)
