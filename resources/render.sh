#!/bin/sh
# Rebuilds every PNG in this folder from the SVG beside it (needs rsvg-convert,
# from the librsvg2-bin package). Each SVG carries its own pixel size.
set -e
cd "$(dirname "$0")"
for svg in *.svg; do
    rsvg-convert --format=png --output="${svg%.svg}.png" "$svg"
done
