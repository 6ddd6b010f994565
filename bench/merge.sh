#!/usr/bin/env bash
# Batch filling: qvform merge of 5,000 rows into print files, timed as a whole process,
# with one job and with two. Prints the documents per second of each (goal: at least 5,000
# with one job) and how much faster two jobs are (goal: at least 1.6 times on two cores).
# The machine's load average is printed beside them: other work on it lowers both.
set -euo pipefail
build=${1:-build/release}
rows=${ROWS:-5000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
qvform="$build/src/tools/qvform/qvform"
# The invoice: its subtotal, sales tax and total are worked out for every row.
form="$build/stage/Tolvad/B201.qvf"
python3 - "$work/data.csv" "$rows" <<'PY'
import csv, random, sys
random.seed(7)
with open(sys.argv[1], "w", newline="") as f:
    w = csv.writer(f)
    w.writerow(["CUSTOMER", "INVOICE", "ITEM1", "QTY1", "PRICE1", "LINE1", "ITEM2", "QTY2", "PRICE2", "LINE2",
                "TAXRATE", "TERMS"])
    for i in range(int(sys.argv[2])):
        qty1, price1, qty2 = random.randint(1, 90), round(random.uniform(1, 20), 2), random.randint(1, 20)
        w.writerow([f"Customer {i}, Inc.", f"2027-{i:05d}", "sourdough loaves", qty1, f"{price1:.2f}",
                    f"{qty1 * price1:.2f}", "croissants, dozen", qty2, "18.00", f"{qty2 * 18:.2f}", "8.5",
                    "net 30 days"])
PY
# Best of three runs of one job count, in milliseconds.
timed() {
  local jobs=$1 best="" run t0 t1 ms
  for run in 1 2 3; do
    rm -rf "$work/out"
    t0=$(date +%s%N)
    "$qvform" merge "$form" "$work/data.csv" --out "$work/out" --print-file --jobs "$jobs" > /dev/null
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    if [[ -z "$best" || $ms -lt $best ]]; then best=$ms; fi
  done
  echo $(( best > 0 ? best : 1 ))
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
one=$(timed 1)
count=$(ls "$work/out" | wc -l)
echo "merge --jobs 1: $count print files in ${one} ms (best of 3): $(( count * 1000 / one )) per second (goal at least 5000)"
two=$(timed 2)
count=$(ls "$work/out" | wc -l)
echo "merge --jobs 2: $count print files in ${two} ms (best of 3): $(( count * 1000 / two )) per second"
ratio=$(( one * 100 / two ))
printf 'two jobs / one job: %d.%02d times the rate (goal at least 1.60 on two cores)\n' $(( ratio / 100 )) $(( ratio % 100 ))
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
