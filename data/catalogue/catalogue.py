#!/usr/bin/env python3
"""Writes the catalogue's three data files (Windows-1252, CR LF) from categories/NN.txt.

Each category file names its category on the first line; every other line is one form:
CODE <tab> Title <tab> Description <tab> keywords (lower case, separated by blanks).
The categories come in the order of their file names, the forms in the order of the lines.
Run it after changing a category file; the files it writes are what the repository keeps."""
import glob
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def read_categories():
    categories = []
    for path in sorted(glob.glob(os.path.join(HERE, "categories", "*.txt"))):
        with open(path, encoding="utf-8") as f:
            lines = [line.rstrip("\n") for line in f if line.strip()]
        forms = []
        for number, line in enumerate(lines[1:], start=2):
            fields = line.split("\t")
            if len(fields) != 4:
                sys.exit(f"{path}:{number}: expected CODE, title, description and keywords separated by tabs")
            forms.append(tuple(field.strip() for field in fields))
        categories.append((lines[0].strip(), forms))
    return categories


def write(name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    items, descriptions, keywords = [], [], []
    for category, forms in read_categories():
        items.append(":" + category)
        items.append("")  # the line after each header is never used
        for code, title, description, words in forms:
            items.append("    " + code + " " + title)
            descriptions.append("    " + description)
            keywords.append(code + " " + " ".join(words.split()))
    items.append(":END")
    keywords.append("END")
    write("Tolvad.Dat", items)
    write("Tolvad2.Dat", descriptions)
    write("Tolvad3.Dat", keywords)


if __name__ == "__main__":
    main()
