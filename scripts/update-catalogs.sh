#!/usr/bin/env bash
# Extracts the translatable texts of the program (the _() texts of the code
# and the labels of the resource files) into data/Language/language.pot and
# merges the template into every catalog data/Language/<language>.po.
#
#   scripts/update-catalogs.sh            update the template and the catalogs
#   scripts/update-catalogs.sh --template FILE
#                                         only write a fresh template to FILE
set -euo pipefail
cd "$(dirname "$0")/.."

template_only=""
if [[ "${1:-}" == "--template" ]]; then
    template_only="${2:?--template needs a file name}"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Texts of the code.
find src include -name '*.cpp' -o -name '*.h' | LC_ALL=C sort > "$work/sources"
xgettext --from-code=UTF-8 --language=C++ --add-comments=TRANSLATORS: \
         -k_ -kwxGetTranslation -kwxTRANSLATE -kwxPLURAL:1,2 \
         --package-name="Corvanel Loopforge" --package-version=3.0.8 \
         --files-from="$work/sources" -o "$work/language.pot"

# Texts of the resources: wxrc writes them as _() calls after "#line N file"
# markers; they are laid out on their resource line numbers under the
# resource's own path, so the template points translators at the resource.
for xrc in data/Themes/*.xrc; do
    mkdir -p "$work/xrc/$(dirname "$xrc")"
    wxrc --gettext "$xrc" |
        awk '/^#line / { target = $2; next }
             { while (line < target - 1) { print ""; line++ } print; line++ }' \
        > "$work/xrc/$xrc"
done
(cd "$work/xrc" && find data -name '*.xrc' | LC_ALL=C sort > ../xrc-files &&
    xgettext --from-code=UTF-8 --language=C -k_ --join-existing --files-from=../xrc-files \
             -o ../language.pot)
sed -i 's/charset=CHARSET/charset=UTF-8/' "$work/language.pot"

if [[ -n "$template_only" ]]; then
    cp "$work/language.pot" "$template_only"
    exit 0
fi

cp "$work/language.pot" data/Language/language.pot
for folder in zh_CN zh_TW de fr it ja; do
    po="data/Language/$folder.po"
    if [[ -f "$po" ]]; then
        msgmerge --quiet --update --backup=none --no-fuzzy-matching "$po" data/Language/language.pot
    else
        msginit --no-translator --locale="$folder.UTF-8" --input=data/Language/language.pot \
                --output-file="$po"
    fi
done
echo "Template and catalogs updated; translate what msgfmt --statistics reports as untranslated:"
for po in data/Language/*.po; do
    printf '%s: ' "$po"
    msgfmt --statistics -o /dev/null "$po" 2>&1
done
