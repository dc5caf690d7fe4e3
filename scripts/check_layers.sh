#!/usr/bin/env bash
# Fails when a source file under src/ includes a header of a layer it may not
# use. Each layer may include itself and the layers listed for it here; tests
# may also include the shared test helpers (support/).
set -euo pipefail
cd "$(dirname "$0")/.."

allowed='
core:core
platform:core platform
net:core platform net
config:core config
ops:core platform net config ops
ui:core platform net config ops ui
qt:core platform net config ops ui qt
cli:core platform net config ops ui cli
netd:core platform netd
sim:core platform sim
'

grep -rHE '^#include "[a-z_]+/' src | awk -v allowed="$allowed" '
  BEGIN {
    n = split(allowed, rows, "\n")
    for (i = 1; i <= n; i++) if (split(rows[i], kv, ":") == 2) may[kv[1]] = " " kv[2] " "
  }
  {
    file = $0; sub(/:.*/, "", file)
    split(file, parts, "/"); layer = parts[2]
    included = $0; sub(/^[^"]*"/, "", included); sub(/\/.*/, "", included)
    if (!(layer in may)) { printf "layering: %s is in no known layer\n", file; bad = 1; next }
    if (index(may[layer], " " included " ")) next
    if (included == "support" && file ~ /_test\.cc$/) next
    printf "layering: %s includes a header of '\''%s'\'', which layer '\''%s'\'' may not use\n", file, included, layer
    bad = 1
  }
  END {
    if (bad) exit 1
    print "layering: every include points to the same or a lower layer"
  }'
