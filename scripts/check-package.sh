#!/bin/sh
# CI: the Debian package (make package, reusing the build in build/), read back as dpkg reads it
# and unpacked into a throwaway folder: both programs must start from there, and the desktop
# entry, the icons and the metainfo must lie where desktops look for them, and be valid.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh dpkg-dev desktop-file-utils lintian
start=$(date +%s)
make package

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# The version players see is major.minor.revision of the project's four-part version.
release=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=\([0-9]*\)\.\([0-9]*\)\.[0-9]*\.\([0-9]*\)$/\1.\2.\3/p' \
    build/CMakeCache.txt)
[ -n "$release" ] || fail "no four-part project version in build/CMakeCache.txt"
id=io.github.adultify.Adultify
deb=dist/adultify_${release}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "$deb was not made"

dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = adultify ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$release" ] || fail "Version is '$(field Version)', not $release"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# dpkg-shlibdeps found the libraries the programs link.
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    case ", $(field Depends)" in
        *", $lib "* | *", $lib,"* | *", $lib") ;;
        *) fail "Depends lacks $lib: $(field Depends)" ;;
    esac
done
dpkg-deb --contents "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

# Exactly these files, none of the build's test or sample programs.
{
    echo usr/bin/adultify
    echo usr/bin/adultify-cli
    echo "usr/share/applications/$id.desktop"
    echo "usr/share/metainfo/$id.metainfo.xml"
    echo usr/share/doc/adultify/changelog.gz
    echo usr/share/doc/adultify/copyright
    echo usr/share/man/man1/adultify.1.gz
    echo usr/share/man/man1/adultify-cli.1.gz
    echo "usr/share/icons/hicolor/scalable/apps/$id.svg"
    for size in 16 32 48 64 128 256; do
        echo "usr/share/icons/hicolor/${size}x$size/apps/$id.png"
    done
} | sort >"$root/expected"
(cd "$root" && find usr -type f | sort) >"$root/found"
diff -u "$root/expected" "$root/found" || fail "the package holds other files than these"

said=$("$root/usr/bin/adultify-cli" --version) || fail "adultify-cli --version failed"
[ "$said" = "adultify-cli $release" ] || fail "adultify-cli --version says '$said'"
# Without a display the editor says so and stops: it started, so its libraries were found.
said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/adultify" 2>&1) &&
    fail "the editor ran without a display"
case "$said" in adultify:*display*) ;; *) fail "the editor did not start: $said" ;; esac

# Each PNG is as large as its folder says: width and height from the IHDR chunk.
for size in 16 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png"
    # shellcheck disable=SC2046 # one word a byte
    set -- $(od -An -tu1 -j16 -N8 "$png")
    width=$(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))
    height=$(($5 * 16777216 + $6 * 65536 + $7 * 256 + $8))
    [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG is no SVG"

desktop="$root/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
grep -qx "Exec=adultify" "$desktop" || fail "the desktop entry starts another program"

metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo has another id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo launches another desktop entry"
# The newest release comes first; a version without its entry was released undescribed.
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$newest" = "$release" ] || fail "the metainfo's newest release is '$newest', not $release"
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused $metainfo"
fi

# The release date is the version's own, from its changelog entry, never the build day.
grep -q "<release version=\"$release\" date=\"[0-9-]*\"/>" "$metainfo" || fail "no dated release $release"
if grep -qi "example\.org" "$metainfo" "$desktop"; then fail "a placeholder address in the metainfo"; fi
case "$(field Maintainer) $(field Homepage)" in *example.org*) fail "a placeholder address in the control file" ;; esac

# Debian's own checks: no error and no warning. What lintian says below that is accepted:
# - spelling-error-in-binary: "Infomation", "Sucess" and "occured" are the program's own
#   texts, kept letter for letter;
# - hardening-no-bindnow, hardening-no-fortify-functions: the build takes the compiler's
#   defaults, as a build outside Debian's own tooling does;
# - binary-has-unneeded-section: the .comment section names the compiler, a few bytes.
lintian --fail-on error,warning --display-info "$deb" || fail "lintian refused $deb"

echo "check-package: $deb is whole and works when unpacked ($(($(date +%s) - start)) s)."
