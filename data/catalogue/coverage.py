#!/usr/bin/env python3
"""How many of the Keyword Search dialog's suggestions find a bundled form, and whether any
finds a form it has nothing to do with.

The search is a plain substring test of the search text against a form's keyword line, so a
short suggestion also finds every form whose keywords merely contain it ("car" in "care").
A find counts as honest when the suggestion stands in the keyword line as a word of its own,
as an inflection of one (plural, possessive, -ed, -ing) or as a part of a hyphenated word,
or as one of the reviewed pairs in RELATED. Phrase fragments (FRAGMENTS) are the suggestions
that are only halves of phrases ("U.S." of "U.S. savings bonds"); they are neither counted nor
checked, since they are found inside ordinary words.

  coverage.py [--qvform QVFORM --stage FOLDER] [--min N] [--list]

With --qvform the finds are also asked of `qvform search` over FOLDER and must agree.
Exit status 1 when a find is not honest, when fewer than N suggestions find a form honestly,
or when qvform disagrees."""
import argparse
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

FRAGMENTS = {"TO", "DO", "GO", "YOU", "US", "U.S.", "MADE", "CALLED", "COMMONLY", "EVE", "NEW",
             "YEAR'S", "LONG",
             # Every document in the library is a form, so no find of "form" is unrelated.
             "FORM"}

# Reviewed finds of a suggestion inside a longer keyword that is still about the same thing,
# and the few where the suggestion list itself holds both words and the longer one is the
# only plain word for the form ("card" for a credit card record is also found by "car").
RELATED = {
    ("CAR", "CARD"),
    ("CAR", "CARDS"),
    ("PLANE", "AIRPLANE"),
    ("CORPORATE", "INCORPORATE"),
    ("STOCK", "STOCKHOLDERS"),
    ("OFFICE", "OFFICERS"),  # officers hold the corporation's offices
    ("ORGANIZATION", "ORGANIZATIONAL"),
}

INFLECTIONS = ("", "S", "ES", "'S", "ED", "ING")


def suggestions():
    text = open(os.path.join(ROOT, "src", "catalogue", "KeywordSuggestions.cpp"), encoding="utf-8").read()
    body = text[text.index("words = {"):text.index("};")]
    return re.findall(r'"([^"]*)"', body)


def read_lines(path):
    with open(path, "rb") as f:
        return f.read().decode("cp1252").split("\r\n")


def catalogue(folder):
    """(category, code, title) of every listed form, and the keyword line of each code."""
    forms, category = [], -1
    items = read_lines(os.path.join(folder, "Tolvad.Dat"))
    i = 0
    while i < len(items) and items[i] != ":END":
        if items[i].startswith(":"):
            category += 1
            i += 2
            continue
        if items[i]:
            forms.append((category, items[i][4:8], items[i][9:]))
        i += 1
    keywords = {}
    for line in read_lines(os.path.join(folder, "Tolvad3.Dat")):
        keywords.setdefault(line[:4], line)
    return forms, keywords


def honest(word, found_in):
    parts = [found_in] + found_in.split("-")
    # "purchase" -> "purchased", but "car" -> "card" is another word
    endings = INFLECTIONS + (("D",) if word.endswith("E") else ())
    if any(part == word + ending for part in parts for ending in endings):
        return True
    return (word, found_in) in RELATED


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--qvform")
    parser.add_argument("--stage", default=HERE)
    parser.add_argument("--min", type=int, default=0)
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()

    forms, keywords = catalogue(args.stage if args.qvform else HERE)
    distinct = sorted(set(suggestions()))
    faults, covered = [], []
    for suggestion in distinct:
        word = suggestion.upper()
        found = [f for f in forms if f[1] in keywords and word in keywords[f[1]].upper()]
        if args.qvform:
            out = subprocess.run([args.qvform, "search", args.stage, suggestion], capture_output=True,
                                 text=True, encoding="utf-8", errors="replace").stdout
            asked = [r["item"][4:8] for r in json.loads(out)["results"]]
            if asked != [f[1] for f in found]:
                faults.append(f"{suggestion}: qvform search finds {asked}, the data files {[f[1] for f in found]}")
        if word in FRAGMENTS:
            continue
        good = []
        for category, code, title in found:
            words = keywords[code].upper().split()
            hits = [w for w in words if word in w]
            if any(honest(word, w) for w in hits):
                good.append(code)
            else:
                faults.append(f"{suggestion!r} finds {code} {title} only inside {', '.join(hits)}")
        if good:
            covered.append((suggestion, good))
    if args.list:
        for suggestion, codes in covered:
            print(f"{suggestion}: {' '.join(codes)}")
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"{len(covered)} of {len(distinct)} distinct suggestions find a form")
    if faults or len(covered) < args.min:
        sys.exit(1)


if __name__ == "__main__":
    main()
