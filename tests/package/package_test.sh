#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, checks its file list and
# dependencies, validates the desktop entry, the AppStream metadata, the man pages and the
# user unit, then unpacks it into a throw-away root and runs plovane-cli from there on
# the installed data.
#   package_test.sh BUILD_DIR
set -euo pipefail

build="$(cd "$1" && pwd)"
work="$(cd "$(mktemp -d "${TMPDIR:-/tmp}/plovane-package-test.XXXXXX")" && pwd -P)"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli man gzip lintian; do
    command -v "$tool" >/dev/null || fail "$tool is missing (see PLOVANE_PACKAGES in scripts/lib/common.sh)"
done

echo "== [${SECONDS}s] cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/plovane_*.deb)
[ -f "${debs[0]}" ] || fail "no plovane_*.deb in the cpack output"
deb="${debs[0]}"
echo "$(basename "$deb")"

echo "== [${SECONDS}s] file list"
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
expected=(
    /usr/bin/plovane
    /usr/bin/plovane-cli
    /usr/share/plovane/maps/world.map
    /usr/share/plovane/maps/base-layer.mbtiles
    /usr/share/plovane/sim/sample.sim
    /usr/share/plovane/help/index.html
    /usr/share/plovane/icons/primary.png
    /usr/share/plovane/tnc/tapr_tnc2.tnc
    /usr/share/applications/org.drennic.Plovane.desktop
    /usr/share/metainfo/org.drennic.Plovane.metainfo.xml
    /usr/share/icons/hicolor/16x16/apps/org.drennic.Plovane.png
    /usr/share/icons/hicolor/48x48/apps/org.drennic.Plovane.png
    /usr/share/icons/hicolor/256x256/apps/org.drennic.Plovane.png
    /usr/share/man/man1/plovane.1.gz
    /usr/share/man/man1/plovane-cli.1.gz
    /usr/lib/systemd/user/plovane-cli.service
    /usr/share/doc/plovane/copyright
)
for file in "${expected[@]}"; do
    grep -qx "$file" "$work/files" || fail "$file is not in the package"
done
# Nothing of the build leaks in: no headers, libraries, tests or anything outside /usr.
if grep -vE '^/usr/(bin|share|lib/systemd/user)(/|$)|^/(usr/(lib(/systemd)?)?)?/?$' "$work/files" |
    grep -v '/$' | grep -q .; then
    grep -vE '^/usr/(bin|share|lib/systemd/user)(/|$)' "$work/files" | grep -v '/$' >&2
    fail "unexpected files in the package"
fi
grep -qE '\.(a|h|o|so)$|_tests$|/fuzz_|README' "$work/files" && fail "build files in the package"

echo "== [${SECONDS}s] control fields"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# From dpkg-shlibdeps, not a hand list: the C library and Qt's widgets and multimedia.
tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' >"$work/depends"
for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins; do
    grep -qxF "$lib" "$work/depends" || fail "Depends lacks $lib"
done
[ "$(dpkg-deb -f "$deb" Package)" = plovane ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "section"
dpkg-deb -f "$deb" Description | sed -n 2p | grep -q "Automatic Packet Reporting" ||
    fail "no long description"

echo "== [${SECONDS}s] lintian"
# Errors fail; the infos kept are the help page under share/plovane (the help viewer opens
# it there) and the .comment section of the stripped programs.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
grep -q '^E: ' "$work/lintian.txt" && fail "lintian reports errors"
grep -q '^W: ' "$work/lintian.txt" && fail "lintian reports warnings"
dpkg-deb -f "$deb" Maintainer | grep -qE '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "maintainer address"
grep -qx "/usr/share/doc/plovane/changelog.gz" "$work/files" || fail "no changelog"

echo "== [${SECONDS}s] unpack into a throw-away root"
root="$work/root"
dpkg-deb -x "$deb" "$root"

echo "== [${SECONDS}s] desktop entry, metainfo, unit"
desktop-file-validate "$root/usr/share/applications/org.drennic.Plovane.desktop"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/org.drennic.Plovane.metainfo.xml"
grep -q '^Icon=org.drennic.Plovane$' "$root/usr/share/applications/org.drennic.Plovane.desktop" ||
    fail "the desktop entry names another icon"
if command -v systemd-analyze >/dev/null; then
    # The unit finds plovane-cli on systemd's path once installed; here it is pointed at the
    # unpacked program.
    sed "s|^ExecStart=plovane-cli|ExecStart=$root/usr/bin/plovane-cli|" \
        "$root/usr/lib/systemd/user/plovane-cli.service" >"$work/plovane-cli.service"
    systemd-analyze verify --man=no "$work/plovane-cli.service"
fi

echo "== [${SECONDS}s] man pages"
for page in plovane plovane-cli; do
    gz="$root/usr/share/man/man1/$page.1.gz"
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$gz" 2>&1 >"$work/$page.txt")" ||
        fail "man $page"
    [ -z "$warnings" ] || { echo "$warnings" >&2; fail "man $page warns"; }
    grep -q "^NAME" "$work/$page.txt" || fail "man $page has no NAME section"
done

echo "== [${SECONDS}s] the installed programs"
cli="$root/usr/bin/plovane-cli"
version="$("$cli" --version)"
[ "$version" = "plovane-cli $(dpkg-deb -f "$deb" Version)" ] || fail "--version says '$version'"
set +e
"$cli" no-such-command >/dev/null 2>"$work/unknown.txt"
status=$?
set -e
[ $status -eq 2 ] || fail "an unknown command exits with $status"
grep -q '^usage: plovane-cli' "$work/unknown.txt" || fail "an unknown command prints no usage"
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/plovane" --version | grep -qx "plovane $(dpkg-deb -f "$deb" Version)" ||
    fail "plovane --version"

"$cli" decode --now 2026-01-01T12:00:00 "$root/usr/share/plovane/sim/sample.sim" >"$work/decoded.jsonl"
stations="$(grep -c '"record":"station"' "$work/decoded.jsonl" || true)"
[ "$stations" -gt 10 ] || fail "decode of the installed sample found $stations stations"
echo "decoded $stations station records from the installed sample"

# The headless station finds its maps in the unpacked share/plovane (beside the program),
# not in the source tree: its start-up notice names the folder it searches.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
mkdir -p "$HOME"
timeout -s TERM 5 "$cli" run --settings "$work/station.conf" >"$work/run.txt" 2>&1 || true
grep -qxF "Searching for maps in $root/usr/share/plovane/maps/..." "$work/run.txt" &&
    grep -qx "1 map found..." "$work/run.txt" ||
    { cat "$work/run.txt" >&2; fail "plovane-cli run did not find the installed world map"; }
echo "package OK"
