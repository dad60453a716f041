#!/usr/bin/env python3
"""Checks of a translation catalog that msgfmt leaves out: every printf
conversion of a text survives in its translation (the program builds format
strings from translated pieces, so a stray % breaks them), accelerators and
mnemonics stay intact, and the crash message keeps the report folder alone on
its third line.

Usage: catalog_checks.py CATALOG.po   (prints the problems, exit status 1)
"""
import re
import sys

CONVERSION = re.compile(r"%(?:%|[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn])")
CRASH_MESSAGE_START = "Application have crashed"


def unquote(text):
    return bytes(text, "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")


def entries(path):
    """Yields (msgid, translations, fuzzy) of the active entries; an entry with
    plural forms has one translation per form."""
    msgid = None
    forms = {}
    field = None
    fuzzy = False
    with open(path, encoding="utf-8") as catalog:
        lines = catalog.read().split("\n") + [""]
    for line in lines:
        if line.startswith("#~"):
            continue
        if line.startswith("#,"):
            fuzzy = "fuzzy" in line
        elif line.startswith("msgid "):
            msgid, field = unquote(line[7:-1]), "id"
        elif line.startswith("msgid_plural "):
            field = None
        elif line.startswith("msgstr"):
            key, _, text = line.partition(" ")
            field = key
            forms[field] = unquote(text[1:-1])
        elif line.startswith('"') and field:
            if field == "id":
                msgid += unquote(line[1:-1])
            else:
                forms[field] += unquote(line[1:-1])
        elif not line.strip():
            if msgid:  # the header has an empty msgid
                yield msgid, [forms[key] for key in sorted(forms)], fuzzy
            msgid = field = None
            forms = {}
            fuzzy = False


def problems(path):
    for msgid, translations, fuzzy in entries(path):
        name = repr(msgid[:40])
        if fuzzy or not translations or not all(translations):
            yield f"{name}: not translated"
            continue
        for msgstr in translations:
            if sorted(CONVERSION.findall(msgid)) != sorted(CONVERSION.findall(msgstr)):
                yield f"{name}: format conversions {CONVERSION.findall(msgstr)} instead of {CONVERSION.findall(msgid)}"
            if "\t" in msgstr and "\t" not in msgid:
                yield f"{name}: a tab (accelerator) in the translation"
            if msgid.count("&") != msgstr.count("&"):
                yield f"{name}: mnemonic '&' count differs"
            if msgid.startswith(CRASH_MESSAGE_START):
                lines = msgstr.split("\n")
                if len(lines) < 3 or lines[2] != "%s":
                    yield f"{name}: the folder (%s) is not alone on the third line"


def main():
    found = list(problems(sys.argv[1]))
    for problem in found:
        print(f"{sys.argv[1]}: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
