#!/usr/bin/env bash
# Builds the Debian package from this build tree into a temporary folder and checks what an
# installation gets: the files, the control fields, the icons' pixels, and the desktop entry and
# the AppStream file as their validators see them.
set -u
cpack=$1
config=$2
version=$3
icon_data=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

if ! "$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack did not build the package"
    exit 1
fi
debs=("$work"/out/filvanta_"$version"_*.deb)
if [ ! -f "${debs[0]}" ] || [ ${#debs[@]} -ne 1 ]; then
    echo "FAIL: no single filvanta_${version}_*.deb in:"
    ls "$work/out"
    exit 1
fi
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = filvanta ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libc6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-ipafont-gothic; do
    # A package name ends at a blank, a comma, a version bracket or the end of the field.
    grep -Eq "(^|[ ,])$p([ ,(]|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done

listing=$(dpkg-deb -c "$deb")
for path in usr/bin/Filvanta usr/share/applications/Filvanta.desktop \
    usr/share/icons/hicolor/32x32/apps/ usr/share/icons/hicolor/16x16/apps/ usr/share/metainfo/; do
    grep -q " \./$path" <<<"$listing" || fail "the package lacks /$path"
done
grep -q '^-rwxr-xr-x root/root .* \./usr/bin/Filvanta$' <<<"$listing" ||
    fail "/usr/bin/Filvanta is not an executable owned by root"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/Filvanta.desktop
if [ -f "$desktop" ]; then
    if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
        fail "desktop-file-validate: $out"
    fi
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    [ -x "$root/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no program in /usr/bin"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
fi

# The icons must show the pixel rows the window uses: '.' transparent, a hex digit a palette
# index, opaque.
mapfile -t palette < <(grep -A2 'kIconPalette = {' "$icon_data" | grep -Eo '0x[0-9A-Fa-f]{6}')
[ ${#palette[@]} -eq 16 ] || fail "cannot read the palette from $icon_data"
expected_pixels() {
    local size=$1 row c i
    grep -A"$size" "kIcon$size = {{" "$icon_data" | grep -Eo "\"[.0-9A-F]{$size}\"" | tr -d '"' |
        while read -r row; do
            for ((i = 0; i < size; i++)); do
                c=${row:i:1}
                if [ "$c" = . ]; then
                    echo 00
                else
                    printf '%06x\n' $((palette[16#$c]))
                fi
            done
        done
}
actual_pixels() {
    # RGBA bytes; a transparent pixel's colour does not count.
    stream -map rgba -storage-type char "$1" - | od -An -v -tx1 -w4 |
        awk '{ print ($4 == "00") ? "00" : (($4 == "ff") ? $1 $2 $3 : "alpha " $4) }'
}
for size in 32 16; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/${icon:-?}.png
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon named after Icon=${icon:-}"
        continue
    fi
    [ "$(identify -format '%wx%h' "$png" 2>&1)" = "${size}x${size}" ] ||
        fail "$png is not a ${size}x${size} image: $(identify "$png" 2>&1)"
    diff <(expected_pixels "$size") <(actual_pixels "$png") >"$work/pixels.diff" ||
        fail "the ${size}x${size} icon's pixels differ from the window icon's: $(head "$work/pixels.diff")"
done

metainfos=("$root"/usr/share/metainfo/*.metainfo.xml)
if [ ${#metainfos[@]} -ne 1 ] || [ ! -f "${metainfos[0]}" ]; then
    fail "not one metainfo file in /usr/share/metainfo"
else
    metainfo=${metainfos[0]}
    if ! out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1); then
        fail "appstreamcli validate: $out"
    fi
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
    [ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "$metainfo is not named after <id>$id"
    grep -q '<launchable type="desktop-id">Filvanta.desktop</launchable>' "$metainfo" ||
        fail "the metainfo does not launch Filvanta.desktop"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
fi

[ $status -eq 0 ] && echo "package: $(basename "$deb") has its files, fields, icons and valid metadata"
exit $status
