#!/bin/sh
# The installed copy as a user meets it: the build installed into a temporary prefix, the page
# viewer's launcher opens every page it lists under the X display (each saves a picture of itself),
# and the installed desktop entry validates without a word from desktop-file-validate.
#
#   installed_copy.sh <build folder>
#
# Exits 77 (skipped) without a display, unless TONARIX_REQUIRE_SERVICES is set.
build="$1"
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "no X display"
    [ -n "${TONARIX_REQUIRE_SERVICES:-}" ] && exit 1
    exit 77
fi
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "$*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
viewer="$prefix/bin/tonarixlite-pageviewer"
[ -x "$viewer" ] || fail "no page viewer launcher in $prefix/bin"
case "$(readlink -f "$viewer")" in
    "$prefix"/*) ;;
    *) fail "the launcher leads out of the installed copy: $(readlink -f "$viewer")" ;;
esac

mkdir "$prefix/home"
export HOME="$prefix/home" QT_QPA_PLATFORM=xcb
pages="$("$viewer" 2>&1 | sed -n 's/^  \([a-z-]*\).*/\1/p')"
[ -n "$pages" ] || fail "the installed page viewer lists no pages"
for page in $pages; do
    "$viewer" "$page" --grab "$prefix/$page.png" >/dev/null 2>&1 || fail "$page: the installed page viewer failed"
    [ -s "$prefix/$page.png" ] || fail "$page: no picture of the page"
done
echo "opened from the installed copy:" $pages

entry="$prefix/share/applications/tonarixlite.desktop"
said="$(desktop-file-validate "$entry" 2>&1)" || fail "$said"
[ -z "$said" ] || fail "$said"
