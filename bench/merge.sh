#!/usr/bin/env bash
# Batch filling: qvform merge of 5,000 rows into print files, timed as a whole process,
# with one job and with two, then a few hundred PDFs the same way. Prints the documents
# per second of each (goal for print files: at least 5,000
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
# One run of a job count and output into a folder of its own; prints milliseconds and
# keeps the processor time (user and system, as a share of one core) in $work/cpu-run.
# Nothing is deleted until the end: ext4 without a journal skips the inodes freed in the
# last minutes when it makes a file, so deleting thousands of files just before a run
# would time the file system's search rather than the merge (wait a few minutes after
# another run of this script for the same reason).
run() {
  local jobs=$1 output=$2 data=$3 out=$4 t0 t1
  t0=$(date +%s%N)
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -f '%P' -o "$work/cpu-run" \
      "$qvform" merge "$form" "$data" --out "$out" "--$output" --jobs "$jobs" > /dev/null
  else
    "$qvform" merge "$form" "$data" --out "$out" "--$output" --jobs "$jobs" > /dev/null
    echo "?" > "$work/cpu-run"
  fi
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}
# Best of three runs of one job and of two, taken in turn so that both meet the same
# machine, then their rates and ratio. The processor time of each best run is shown: on
# a busy machine a second job shows there even when other work takes the second core.
compare() {
  local output=$1 data=$2 goal=$3 round jobs ms count ratio
  declare -A best cpu
  for round in 1 2 3; do
    for jobs in 1 2; do
      ms=$(run "$jobs" "$output" "$data" "$work/out-$output-$jobs-$round")
      (( ms > 0 )) || ms=1
      if [[ -z "${best[$jobs]:-}" ]] || (( ms < best[$jobs] )); then
        best[$jobs]=$ms
        cpu[$jobs]=$(cat "$work/cpu-run")
      fi
    done
  done
  count=$(ls "$work/out-$output-1-1" | wc -l)
  echo "$output, --jobs 1: $count files in ${best[1]} ms (best of 3, ${cpu[1]} of a core):" \
       "$(( count * 1000 / best[1] )) per second$goal"
  echo "$output, --jobs 2: $count files in ${best[2]} ms (best of 3, ${cpu[2]} of a core):" \
       "$(( count * 1000 / best[2] )) per second"
  ratio=$(( best[1] * 100 / best[2] ))
  printf '%s, two jobs / one job: %d.%02d times the rate\n' "$output" $(( ratio / 100 )) $(( ratio % 100 ))
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
compare print-file "$work/data.csv" " (goal at least 5000)"
echo "(goal for two jobs: at least 1.60 times the rate of one on two cores)"
# PDFs are drawn with fonts: far more work a row than the file, so they show what the jobs
# themselves gain.
head -n $(( ${PDF_ROWS:-300} + 1 )) "$work/data.csv" > "$work/pdf.csv"
compare pdf "$work/pdf.csv" ""
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
