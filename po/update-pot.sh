#!/usr/bin/env bash
# Extracts every text the user reads into po/pdfzerovovor.pot and brings the
# catalogues up to it: new texts arrive untranslated, changed ones are marked fuzzy,
# gone ones are kept as obsolete (#~). Translate them, then build: the catalogues are
# compiled by the build (po/CMakeLists.txt).
#
#   po/update-pot.sh            regenerate the template and merge the catalogues
#   po/update-pot.sh --check    change nothing; fail when the template misses or
#                               keeps a text the sources no longer have, or when a
#                               catalogue is not complete (untranslated or fuzzy)
set -euo pipefail
cd "$(dirname "$0")/.."
po=po
pot=$po/pdfzerovovor.pot
mode=${1:-update}

# The texts: C++ marked with _(), wxPLURAL, wxTRANSLATE, wxGetTranslation and the
# command line's TrUtf8; the theme's pictures (make_theme.py, _()); the desktop
# entry and the AppStream metadata (their translatable fields).
cpp_sources() {
    git ls-files --cached --others --exclude-standard -- 'app/*.cpp' 'app/*.h' 'batch/*.cpp' 'batch/*.h' 'cli/*.cpp' 'cli/*.h' \
        'core/*.cpp' 'core/*.h' 'skin/*.cpp' 'skin/*.h' 'ui/*.cpp' 'ui/*.h' \
        'update/*.cpp' 'update/*.h' | grep -v '^skin/gallery/' | LC_ALL=C sort
}
its=$(ls /usr/share/gettext-*/its/metainfo.its /usr/share/gettext/its/metainfo.its 2>/dev/null |
      head -n 1)
[ -n "$its" ] || { echo "update-pot.sh: gettext's metainfo.its is missing" >&2; exit 1; }

make_pot() {
    local out=$1
    local common=(--from-code=UTF-8 --add-comments=TRANSLATORS: --sort-by-file
                  --package-name=pdfzerovovor --msgid-bugs-address=support@brisklowan.com
                  --copyright-holder=Brisklowan --no-wrap)
    # shellcheck disable=SC2046
    xgettext "${common[@]}" --language=C++ -o "$out" \
        -k_ -kwxPLURAL:1,2 -kwxTRANSLATE -kwxGetTranslation:1 -kwxGETTEXT_IN_CONTEXT:1c,2 \
        -kwxGETTEXT_IN_CONTEXT_PLURAL:1c,2,3 -kwxTRANSLATE_IN_CONTEXT:1c,2 -kTrUtf8 \
        $(cpp_sources)
    sed -i 's/charset=CHARSET/charset=UTF-8/' "$out"
    xgettext "${common[@]}" --join-existing --language=Python -k_ -kC_:1c,2 -o "$out" \
        theme/make_theme.py
    xgettext "${common[@]}" --join-existing --language=Desktop -o "$out" \
        packaging/pdfzerovovor.desktop
    xgettext "${common[@]}" --join-existing --its="$its" -o "$out" \
        packaging/com.brisklowan.pdfzerovovor.metainfo.xml.in
    # The template changes only when a text does.
    sed -i '/^"POT-Creation-Date:/d' "$out"
}

# The message ids of a template or catalogue, one per line, sorted.
msgids() {
    msgcat --no-location --no-wrap --sort-output "$1" |
        awk '/^msgctxt /{c=$0} /^msgid /{print c "|" $0; c=""}' | LC_ALL=C sort
}

if [ "$mode" = --check ]; then
    fresh=$(mktemp)
    trap 'rm -f "$fresh"' EXIT
    make_pot "$fresh"
    status=0
    if ! diff <(msgids "$pot") <(msgids "$fresh") >/dev/null; then
        echo "$pot is out of date with the sources (< only in it, > only in the sources):"
        diff <(msgids "$pot") <(msgids "$fresh") | grep '^[<>]' || true
        echo "Run po/update-pot.sh, translate what is new and commit."
        status=1
    fi
    for file in "$po"/*.po; do
        stats=$(msgfmt --check --statistics -o /dev/null "$file" 2>&1) || { echo "$file: $stats"; status=1; continue; }
        case $stats in
        *untranslated* | *fuzzy*) echo "$file: $stats"; status=1 ;;
        esac
        # Every text of the template, translated (untranslated and fuzzy ones count as missing).
        msgcmp "$file" "$pot" 2>/dev/null || { echo "$file misses texts of $pot:"; msgcmp "$file" "$pot" 2>&1 | head -n 20; status=1; }
    done
    exit $status
fi

make_pot "$pot"
for file in "$po"/*.po; do
    [ -e "$file" ] || continue
    msgmerge --quiet --update --backup=none --no-wrap "$file" "$pot"
done
echo "$pot: $(msgids "$pot" | wc -l) texts"
