#!/usr/bin/env bash
# The Debian package: builds, passes lintian without errors, installs, starts from its menu entry
# in the user's own folder, and a reinstall keeps the teacher's worksheets.
source "$(dirname "$0")/lib.sh"
build=$(dirname "$TERRAVALE_DATA")

# The built data folder can be read, and so copied, by any user.
unreadable=$(find "$TERRAVALE_DATA" \( -type f ! -perm -o+r \) -o \( -type d ! -perm -o+rx \) | head -n 5)
[[ -z "$unreadable" ]] || e2e_fail "not readable by every user: $unreadable"

work=$(mktemp -d /tmp/terravale-pkg.XXXXXX)
home=$work/home
mkdir -p "$home"
cleanup_package() { rm -rf "$work"; e2e_cleanup; }
trap cleanup_package EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; e2e_fail "cpack failed"; }
deb=$(ls "$work"/terravale_*_amd64.deb)
echo "built $(basename "$deb")"

if command -v lintian >/dev/null; then
  lintian "$deb" >"$work/lintian.txt" 2>&1 || true
  cat "$work/lintian.txt"
  grep -q '^E:' "$work/lintian.txt" && e2e_fail "lintian reports errors"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$TERRAVALE_SOURCE/packaging/io.github.terravale.Terravale.metainfo.xml" || e2e_fail "metainfo does not validate"
fi

DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; e2e_fail "apt-get install failed"; }

# Start it the way the desktop menu does: the Exec line of the installed entry.
desktop_start() {
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/terravale.desktop)
  [[ -n "$exec_line" ]] || e2e_fail "no Exec line"
  (cd / && HOME="$home" XDG_DATA_HOME="$home/.local/share" exec $exec_line >"$work/program.log" 2>&1) &
  E2E_PID=$!
  e2e_wait_window Titlefrm >/dev/null
}

desktop_start
user=$home/.local/share/terravale
[[ -f "$user/multiple/track.txt" && -f "$user/multiple/Rubbish.txt" ]] || e2e_fail "per-user folder not prepared"
[[ -e "$user/Images/wallsm.jpg" ]] || e2e_fail "pictures not reachable from the per-user folder"
title=$(e2e_find_window Titlefrm)
[[ "$(xprop -id "$title" WM_CLASS)" == *terravale* ]] || e2e_fail "window class is not terravale"
xprop -id "$title" _NET_WM_ICON | grep -q 'CARDINAL' || e2e_fail "window has no icon"
e2e_shot package-title

# A teacher's worksheet, saved through the wizard, survives a reinstall.
e2e_click Titlefrm 1900 6150
e2e_wait_window intro0 >/dev/null
e2e_click intro0 9270 6000
e2e_wait_window wizard >/dev/null
e2e_type_worksheet "Trees"
e2e_click wizard 1800 8160
sleep 0.5
e2e_key Return
[[ -f "$user/multiple/Trees.txt" ]] || e2e_fail "the wizard did not save the worksheet"
e2e_stop
before=$(md5sum "$user/multiple/track.txt" "$user/multiple/Trees.txt")

DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >"$work/apt2.log" 2>&1 || { cat "$work/apt2.log"; e2e_fail "reinstall failed"; }
desktop_start
e2e_stop
after=$(md5sum "$user/multiple/track.txt" "$user/multiple/Trees.txt")
[[ "$before" == "$after" ]] || e2e_fail "the worksheet or the catalogue changed across the reinstall"
grep -q '^Trees' "$user/multiple/track.txt" || e2e_fail "worksheet no longer listed"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q terravale >"$work/apt3.log" 2>&1 || e2e_fail "remove failed"
[[ -f "$user/multiple/Trees.txt" ]] || e2e_fail "removal lost the worksheet"
echo "package e2e passed"
