#!/usr/bin/env bash
# Makes a 50-page document as LibreOffice writes it, from the RTF corpus's lease (header,
# footer, footnotes, a payments table, a signature picture): fifty leases, each on a page
# of its own, written as RTF by LibreOffice.   bench/make-fifty-pages.sh OUT.rtf
set -euo pipefail
out=${1:?usage: make-fifty-pages.sh OUT.rtf}
source=$(cd "$(dirname "$0")/.." && pwd)/tests/data/rtf/lease.fodt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$source" "$work/fifty.fodt" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
head, rest = text.split("<office:text>", 1)
body, tail = rest.split("</office:text>", 1)
# Each lease starts a page; names and note ids stay unique.
head = head.replace('<style:paragraph-properties fo:text-align="center"/>',
                    '<style:paragraph-properties fo:text-align="center" fo:break-before="page"/>')
copies = []
for i in range(50):
    copy = re.sub(r'text:id="(\w+)"', r'text:id="\g<1>_%d"' % i, body)
    copy = re.sub(r'(draw|table):name="(\w+)"', r'\g<1>:name="\g<2>_%d"' % i, copy)
    copies.append(copy)
open(sys.argv[2], "w", encoding="utf-8").write(head + "<office:text>" + "".join(copies) + "</office:text>" + tail)
PY
HOME=$work soffice -env:UserInstallation="file://$work/profile" --headless \
  --convert-to "rtf:Rich Text Format" --outdir "$work" "$work/fifty.fodt" >/dev/null
cp "$work/fifty.rtf" "$out"
if command -v pdfinfo >/dev/null; then
  HOME=$work soffice -env:UserInstallation="file://$work/profile" --headless \
    --convert-to pdf --outdir "$work" "$work/fifty.fodt" >/dev/null
  echo "$out: $(pdfinfo "$work/fifty.pdf" | sed -n 's/^Pages: *//p') pages as LibreOffice lays them out"
fi
