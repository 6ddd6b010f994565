#!/usr/bin/env bash
# Makes the install disk from the staged program folder:
#   make-disk.sh STAGE DISK QVSETUP FORMS_ARCHIVE_TOOL ICONS
# Every file the install reads, compressed in the SZDD format with mscompress (which
# writes NAME_ beside NAME: renamed to the disk's 8.3 names), the forms archive, the
# shared-library stand-ins, the desktop icons (folder ICONS), the setup program and its
# SETUP launcher.
set -euo pipefail
stage=$1 disk=$2 qvsetup=$3 archive_tool=$4 icons=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$disk"
mkdir -p "$disk"

compress() { # compress FILE DISK-NAME
  cp "$1" "$work/$2.src"
  mscompress "$work/$2.src"
  mv "$work/$2.src_" "$disk/$2"
  rm -f "$work/$2.src"
}

compress "$stage/QVEDIT.EXE" QVEDIT.EX_
compress "$stage/QVLEGAL.EXE" QVLEGAL.EX_
compress "$stage/QVLEGAL.HLP" QVLEGAL.HL_
compress "$stage/UNINSTAL.EXE" UNINSTAL.EX_
compress "$stage/TOLVAD.EXE" TOLVAD.EX_
compress "$stage/Tolvad.Dat" TOLVAD.DA_
compress "$stage/Tolvad2.Dat" TOLVAD2.DA_
compress "$stage/Tolvad3.Dat" TOLVAD3.DA_

"$archive_tool" "$work/forms.archive" "$stage"/Tolvad/*.qvf
compress "$work/forms.archive" FORMS.WA_

# Stand-ins for the two shared libraries the setup checks for in the system folder.
for lib in MFCANS32 MFCUIA32; do
  printf 'Q-V Davov Software: stand-in for %s.DLL on this platform.\n' "$lib" > "$work/$lib.DLL"
  compress "$work/$lib.DLL" "$lib.DL_"
done

mkdir "$disk/ICONS"
cp "$icons"/*.svg "$disk/ICONS/"

cp "$qvsetup" "$disk/QVSETUP"
cat > "$disk/SETUP" <<'LAUNCHER'
#!/bin/sh
# Starts the setup with this disk's folder, ending in "/", as its whole command line.
disk=$(cd "$(dirname "$0")" && pwd)/
exec "${disk}QVSETUP" "$disk"
LAUNCHER
chmod +x "$disk/SETUP" "$disk/QVSETUP"
