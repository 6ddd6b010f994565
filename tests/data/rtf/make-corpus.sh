#!/usr/bin/env bash
# Re-makes the RTF corpus from the flat ODT sources beside it, with LibreOffice as any
# user's word processor would write it: one feature a file, plus a lease and a letter.
#   bash tests/data/rtf/make-corpus.sh          all of them
#   bash tests/data/rtf/make-corpus.sh lease    only lease.rtf
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sources=()
if (($#)); then
  for name in "$@"; do sources+=("$here/$name.fodt"); done
else
  sources=("$here"/*.fodt)
fi
# One LibreOffice start for every file; a private profile so a running one is not disturbed.
HOME=$work soffice -env:UserInstallation="file://$work/profile" --headless \
  --convert-to "rtf:Rich Text Format" --outdir "$work/out" "${sources[@]}" >/dev/null
for source in "${sources[@]}"; do
  name=$(basename "$source" .fodt)
  [[ -s $work/out/$name.rtf ]] || { echo "LibreOffice made no $name.rtf" >&2; exit 1; }
  cp "$work/out/$name.rtf" "$here/$name.rtf"
done
echo "made ${#sources[@]} files in $here"
