#!/usr/bin/env bash
# Installs the build into a temporary staging folder, as a package build would, and checks
# that every file lands where the desktop looks for it and passes the desktop's validators.
# Needs BUILD_DIR (a built tree) and ICON_SOURCE (the application icon) from the environment.
set -u
build=${BUILD_DIR:?}
icon_source=${ICON_SOURCE:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

check() { # check NAME COMMAND...
    local name=$1
    shift
    if ! "$@" >"$work/check.log" 2>&1; then
        failed=$((failed + 1))
        echo "FAIL: $name" >&2
        cat "$work/check.log" >&2
    fi
}

if ! DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi
root="$work/stage/usr"
share="$root/share"

for program in kettrik-orvalene kettrik-render assoc-registrar; do
    check "$program is installed and executable" test -x "$root/bin/$program"
done
desktop="$share/applications/example.kettrik.Orvalene.desktop"
metainfo="$share/metainfo/example.kettrik.Orvalene.metainfo.xml"
mime="$share/mime/packages/example.kettrik.Orvalene.xml"
icon="$share/icons/hicolor/scalable/apps/example.kettrik.Orvalene.svg"
for file in "$desktop" "$metainfo" "$mime" "$icon"; do
    check "${file#"$root"/} is installed" test -f "$file"
done

check "the desktop entry is valid" desktop-file-validate "$desktop"
check "the desktop entry starts the program with a file" grep -qx 'Exec=kettrik-orvalene %f' "$desktop"
check "the desktop entry names the icon" grep -qx 'Icon=example.kettrik.Orvalene' "$desktop"
check "the desktop entry opens the sound files" grep -qx 'MimeType=application/x-kettrikfile;' "$desktop"
check "the icon is the application icon" cmp -s "$icon_source" "$icon"
check "the MIME package is well-formed XML" xmllint --noout "$mime"
if command -v appstreamcli >/dev/null; then
    check "the metainfo is valid" appstreamcli validate --no-net "$metainfo"
fi

# The MIME package as the desktop compiles it: both extensions, any case (the default).
cp -r "$share/mime" "$work/mime"
check "update-mime-database accepts the package" update-mime-database "$work/mime"
check "*.ktu is a sound file" grep -q '^application/x-kettrikfile:\*\.ktu$' "$work/mime/globs"
check "*.ktp is a sound file" grep -q '^application/x-kettrikfile:\*\.ktp$' "$work/mime/globs"

if [ "$failed" -ne 0 ]; then
    echo "$failed check(s) failed" >&2
    exit 1
fi
echo "install layout: all checks passed"
