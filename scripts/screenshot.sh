#!/usr/bin/env bash
# Renders the window after a demo run on a virtual screen: docs/screenshot.png at scale 1 (100 %),
# docs/screenshot-200.png at scale 2 (200 %, QT_SCALE_FACTOR=2).
#   scripts/screenshot.sh [BUILD_DIR] [SCALE]
set -euo pipefail
build=${1:-build}
scale=${2:-1}
case "$scale" in
    1) picture="docs/screenshot.png" ;;
    2) picture="docs/screenshot-200.png" ;;
    *) echo "SCALE must be 1 or 2" >&2; exit 2 ;;
esac
shot="$PWD/demo/screenshot"
rm -rf "$shot" && mkdir -p "$shot/config"
"$build/tools/vdb/vdb" demo "$shot/quelle.vdb" --records 2500 > /dev/null
cat > "$shot/config/VeltronaDBCopy.conf" <<CONF
[Startup]
SourceDatabase="$shot/quelle.vdb"
UserName=ADMIN
DestDatabase="$shot/ziel.vdb"
CONF
mkdir -p docs
XDG_CONFIG_HOME="$shot/config" XDG_DATA_HOME="$shot/data" QT_SCALE_FACTOR="$scale" \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshot/window_screenshot" demo "$PWD/$picture"
echo "$picture"
