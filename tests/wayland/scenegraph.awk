# Reads weston's scene graph (weston-debug scene-graph) and prints a line
# "surface x1 y1 x2 y2 top title" for each top-level window of the program
# whose app id is given as -v app=ID. top is 1 for the window stacked highest
# in its layer: desktop-shell activates each window as it maps it.
/^Layer / { first_in_layer = 1 }
/^\tView / {
  window = ""
  marker = "top-level window '"
  at = index($0, marker)
  if (index($0, "role xdg_toplevel") && at) {
    surface = $0
    sub(/.*surface ID /, "", surface)
    sub(/,.*/, "", surface)
    title = substr($0, at + length(marker))
    owner = "' of " app ", "
    end = index(title, owner)
    if (end) {
      title = substr(title, 1, end - 1)
      window = surface
    }
  }
  top = first_in_layer
  first_in_layer = 0
  next
}
/^\t\tposition: / && window != "" {
  line = $0
  gsub(/[(),>-]/, " ", line)
  split(line, p, " ")
  printf "%s %s %s %s %s %d %s\n", window, p[2], p[3], p[4], p[5], top, title
  window = ""
}
