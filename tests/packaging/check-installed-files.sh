#!/usr/bin/env bash
# check-installed-files.sh BUILD PREFIX DESKTOP_FILE_VALIDATE APPSTREAMCLI
set -euo pipefail
build=$1 prefix=$2 validate_desktop=$3 appstreamcli=$4
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
for f in bin/zantotps bin/zantotps-cli bin/converter-sim; do
  [ -x "$prefix/$f" ] || { echo "missing program $f"; fail=1; }
done
desktop=$prefix/share/applications/org.zantotps.ZantoTPS.desktop
metainfo=$prefix/share/metainfo/org.zantotps.ZantoTPS.metainfo.xml
icon=$prefix/share/icons/hicolor/scalable/apps/zantotps.svg
for f in "$desktop" "$metainfo" "$icon"; do
  [ -s "$f" ] || { echo "missing $f"; fail=1; }
done
[ $fail -eq 0 ] || exit 1

"$validate_desktop" "$desktop"
"$appstreamcli" validate --no-net "$metainfo"
# The entry starts the client in the per-user data folder, on the real Bluetooth stack.
grep -qx 'Exec=zantotps --user-data' "$desktop" || { echo "unexpected Exec line"; exit 1; }
grep -qx 'Icon=zantotps' "$desktop" || { echo "unexpected Icon line"; exit 1; }
grep -q '<image>https://' "$metainfo" || { echo "screenshots without a web address"; exit 1; }
# The icon is a well-formed SVG.
head -c 200 "$icon" | grep -q '<svg' || { echo "icon is not an SVG"; exit 1; }

# A data folder the user cannot write into: a clear message and exit 2, before
# any window is made (needs an ordinary user; as root every folder is writable).
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
  echo "skipped the unwritable data folder check: needs root and setpriv"
elif ! as_nobody "$prefix/bin/zantotps" --version >/dev/null 2>&1; then
  # e.g. a chroot whose root folder only root may enter
  echo "skipped the unwritable data folder check: nobody cannot run $prefix/bin/zantotps here"
else
  locked=$(mktemp -d)
  chmod 555 "$locked"
  set +e
  out=$(QT_QPA_PLATFORM=offscreen as_nobody "$prefix/bin/zantotps" --data-dir "$locked/sub" 2>&1)
  rc=$?
  set -e
  rmdir "$locked"
  [ $rc -eq 2 ] && [ "$out" = "zantotps: Cannot create the data folder '$locked/sub'." ] \
    || { echo "unwritable data folder: exit $rc, said: $out"; exit 1; }
fi
echo "installed files valid"
