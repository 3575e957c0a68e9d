#!/usr/bin/env bash
# Renders the PNG sizes of the hicolor theme from tkm9214-utility.svg. Needs rsvg-convert
# (Debian librsvg2-bin). The PNGs are kept in the repository, so building needs neither.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" tkm9214-utility.svg -o "tkm9214-utility-$size.png"
done
