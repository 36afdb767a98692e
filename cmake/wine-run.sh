#!/bin/sh
# Runs a cross-built Windows program under Wine for ctest and build steps.
# WINEPREFIX defaults to "wineprefix" beside the build tree's CMakeCache.txt.
dir=$(pwd)
while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
[ "$dir" = / ] && dir=$(pwd)
[ -z "$WINEPREFIX" ] && WINEPREFIX="$dir/wineprefix"
# Test programs load QuillomCABI.dll from the build tree's engine folder.
WINEPATH="Z:$(printf '%s' "$dir/engine" | tr / '\\')${WINEPATH:+;$WINEPATH}"
export WINEPREFIX WINEPATH WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
mkdir -p "$WINEPREFIX"
# A server that outlives each program by a minute, and the prefix's service
# processes, started with stdio detached: started by the program itself they
# would inherit ctest's pipes and keep them open until the server quits.
# Both steps take a few milliseconds when the server already runs.
wineserver -p60 </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
exec wine "$@"
