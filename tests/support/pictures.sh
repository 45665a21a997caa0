# Sourced by the scripts that compare screenshots of the reader, under X and
# under Wayland: whether two pictures show the same thing to a reader.
#
# A widget painted again need not come out byte for byte the same: the
# smoothed edges of its text can land a few levels apart (2 of 255 under
# weston, with the very same title), so equal bytes would fail on a mere
# repaint. A pixel counts as changed here only when it moved by more than
# PICTURE_FUZZ, far more than smoothing does and far less than text drawn
# in another place or colour; two pictures are alike while no more than
# PICTURE_SLACK pixels changed. Another title, another style or a cursor of
# another shape changes hundreds.
PICTURE_FUZZ=5%
PICTURE_SLACK=10

# The number of pixels that differ by more than PICTURE_FUZZ; fails, saying
# why, where the two cannot be compared (not the same size, not a picture).
pixels_differing() { # picture picture
  _compared=$(compare -metric AE -fuzz "$PICTURE_FUZZ" "$1" "$2" null: 2>&1) && _code=0 || _code=$?
  # 0: alike, 1: different; anything else is an error. ImageMagick 7 adds
  # the share of the pixels in brackets after the count.
  if [ "$_code" -gt 1 ]; then
    echo "cannot compare $1 with $2: $_compared" >&2
    return 1
  fi
  echo "$_compared" | awk 'NR == 1 { printf "%d\n", $1 }'
}
pictures_alike() { # picture picture
  _differing=$(pixels_differing "$1" "$2") && [ "$_differing" -le "$PICTURE_SLACK" ]
}
pictures_differ() { # picture picture
  _differing=$(pixels_differing "$1" "$2") && [ "$_differing" -gt "$PICTURE_SLACK" ]
}
