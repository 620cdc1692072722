# The Debian package made by cpack from this build: the game alone in Debian's games layout, its
# dependencies from the libraries it links, a listing software centres accept, a man page that
# says what --help says, and a game that, unpacked (not installed), starts from any folder.
source "$(dirname "$0")/../../scripts/lib/xvfb-game.sh"
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/cpack" >"$WORK/cpack.log" 2>&1 || {
    cat "$WORK/cpack.log" >&2
    fail "cpack failed"
}
version=$("$GAME" --version | cut -d' ' -f2)
deb="$WORK/cpack/voxmere_${version}_amd64.deb"
[[ -f "$deb" ]] || fail "no $(basename "$deb"); cpack made: $(ls "$WORK/cpack")"

metainfo=$(basename "$BUILD_DIR"/packaging/*.metainfo.xml)
{
    echo usr/games/voxmere
    echo usr/share/applications/voxmere.desktop
    echo usr/share/doc/voxmere/changelog.gz
    echo usr/share/doc/voxmere/copyright
    echo usr/share/lintian/overrides/voxmere
    (cd "$BUILD_DIR" && ls Textures/* Sounds/*) | sed 's|^|usr/share/games/voxmere/|'
    for edge in 16 22 24 32 48 64 128 256; do
        echo "usr/share/icons/hicolor/${edge}x$edge/apps/voxmere.png"
    done
    echo usr/share/man/man6/voxmere.6.gz
    echo "usr/share/metainfo/$metainfo"
} | sort >"$WORK/expected.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' | sort >"$WORK/files.txt"
diff "$WORK/expected.txt" "$WORK/files.txt" >&2 || fail "the package's files differ (< expected, > packed)"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libsdl2-2.0-0 libopenal1 libgl1 libglu1-mesa libstdc++6; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
        fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb -f "$deb" Section Version) == $'Section: games\nVersion: '"$version" ]] ||
    fail "section or version: $(dpkg-deb -f "$deb" Section Version)"

root="$WORK/root"
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net "$root/usr/share/metainfo/$metainfo" >"$WORK/appstream.txt" 2>&1 || {
    cat "$WORK/appstream.txt" >&2
    fail "appstreamcli rejects the listing"
}
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$metainfo" ||
    fail "the listing's releases lack $version"
grep -qx "Exec=/usr/games/voxmere" "$root/usr/share/applications/voxmere.desktop" ||
    fail "the desktop entry does not start /usr/games/voxmere"

# The options as "option description" lines, one per option, however the text wraps.
options() {
    awk '/^[ \t]+-/ {if (e != "") print e; e = $0; next}
         /^[ \t]+[^ \t]/ && e != "" {e = e " " $0; next}
         {if (e != "") print e; e = ""}
         END {if (e != "") print e}' | tr -s ' \t' ' ' | sed 's/^ //'
}
GAME="$root/usr/games/voxmere"
"$GAME" --help | options >"$WORK/help-options.txt"
MANWIDTH=1000 man --nh --nj -l "$root/usr/share/man/man6/voxmere.6.gz" 2>/dev/null | col -b >"$WORK/man.txt"
sed -n '/^OPTIONS/,/^[A-Z]/p' "$WORK/man.txt" | options >"$WORK/man-options.txt"
diff "$WORK/help-options.txt" "$WORK/man-options.txt" >&2 ||
    fail "the man page's options differ from --help (< --help, > man page)"
for heading in CONTROLS FILES "EXIT STATUS"; do
    grep -qx "$heading" "$WORK/man.txt" || fail "the man page has no $heading"
done
for file in /usr/share/games/voxmere/Textures/ voxmere/settings voxmere/scores \
    voxmere/gamecontrollerdb.txt; do
    grep -q "$file" "$WORK/man.txt" || fail "the man page's FILES lack $file"
done

start_xvfb 640x480x24
GAME_DIR="$WORK/elsewhere"
mkdir -p "$GAME_DIR"
open_game
eventually 5 '(($(lit_pixels G) > 1000))' || fail "the unpacked game does not show the title"
tap "$win" 455 300  # Quit
ends_with 0 "the unpacked game" 10
grep -Eq "game data from ($root/usr/games/\.\./share/games/voxmere|/usr/share/games/voxmere)$" \
    "$WORK/game.err" || fail "the game did not take its data from the package's folder"
echo "ok"
