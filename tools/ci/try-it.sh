#!/usr/bin/env bash
# Builds the engine and the quillom tool, then corrects a sample typed on the
# wrong layout. Installs what it needs.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/ci/packages.sh
ensure_packages $LINUX_PACKAGES
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target quillom >/dev/null
q=build/linux/tools/quillom/quillom
echo "\$ echo 'ghbdtn vbh! Rfr ltkf?' | quillom fix"
echo 'ghbdtn vbh! Rfr ltkf?' | "$q" fix
echo "\$ echo 'ghbdsn, zr cghfdb?' | quillom fix --languages en,uk"
echo 'ghbdsn, zr cghfdb?' | "$q" fix --languages en,uk
echo "\$ echo 'hello world, git commit -m fix' | quillom fix"
echo 'hello world, git commit -m fix' | "$q" fix
echo "\$ quillom explain ghbdtn"
"$q" explain ghbdtn
