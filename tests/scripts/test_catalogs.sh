#!/usr/bin/env bash
# The translation catalogs: the template holds every text the code and the
# resources mark for translation, every language's catalog translates every
# text of the template with intact format conversions, accelerators and
# mnemonics, and the build installed the compiled catalog of each language.
# Arguments: the staged install folder and the source folder.
set -euo pipefail
source "$(dirname "$0")/../support/script_helpers.sh"
languages=(zh_CN zh_TW de fr it ja)
template="$source_dir/data/Language/language.pot"

# A text marked in the code but missing from the template is never translated.
"$source_dir/scripts/update-catalogs.sh" --template "$work/fresh.pot"
if ! msgcmp --use-untranslated "$template" "$work/fresh.pot" 2>"$work/missing.txt"; then
    cat "$work/missing.txt" >&2
    fail "the template lacks texts of the sources: run scripts/update-catalogs.sh"
fi
if ! msgcmp --use-untranslated "$work/fresh.pot" "$template" 2>"$work/stale.txt"; then
    cat "$work/stale.txt" >&2
    fail "the template holds texts the sources no longer have: run scripts/update-catalogs.sh"
fi

for language in "${languages[@]}"; do
    po="$source_dir/data/Language/$language.po"
    if [[ ! -f "$po" ]]; then
        fail "$language: no catalog $po"
        continue
    fi
    msgfmt --check -o /dev/null "$po" || fail "$language: msgfmt --check rejects the catalog"
    # Texts kept for code that does not use them yet are no problem.
    if ! msgcmp "$po" "$template" 2>"$work/compare.txt"; then
        grep -v 'this message is not used' "$work/compare.txt" >&2 || true
        fail "$language: texts of the template are missing or untranslated"
    fi
    "$python" "$source_dir/tests/scripts/catalog_checks.py" "$po" || fail "$language: broken translations"
    [[ -f "$stage/Language/$language/language.mo" ]] ||
        fail "$language: the build did not install Language/$language/language.mo"
done

for po in "$source_dir"/data/Language/*.po; do
    name="$(basename "$po" .po)"
    [[ " ${languages[*]} " == *" $name "* ]] || fail "$name.po is not one of the program's languages"
done

finish
