#!/bin/sh
# Makes bg_sky.jpg, the tech-support form's background: a pale sky with soft
# clouds, mirrored both ways so that it tiles without seams behind a long page.
# Deterministic (fixed seed); the result is committed beside this script.
# Uses the real ImageMagick in /usr/bin.
set -e
cd "$(dirname "$0")"
/usr/bin/convert -size 800x600 gradient:'#5FA8E0'-'#DDF1FF' \
  \( -size 800x600 -seed 1104 plasma:grey50-grey50 -colorspace Gray -blur 0x18 -level 52%,78% \) \
  -compose Screen -composite \
  \( +clone -flop \) +append \( +clone -flip \) -append \
  -strip -interlace none -sampling-factor 4:2:0 -quality 80 bg_sky.jpg
