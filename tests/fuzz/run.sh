#!/bin/sh
# Runs every fuzz target for SECONDS seconds, one after the other, from the
# fuzz build directory BUILD (the key-stream target keeps its writes inside
# the directory it runs in). Each target grows a working corpus in
# BUILD/corpus/<target>, seeded from tests/fuzz/corpus/<target>. Crashes,
# leaks, timeouts and out-of-memory inputs go to BUILD/artifacts/. Exits
# non-zero when any target failed.
#
#   tests/fuzz/run.sh BUILD SECONDS [target...]
set -u
build=$1
seconds=$2
shift 2
targets=${*:-"key_decoder file_loader history_file key_stream keystroke_file shorts_file macro_file"}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
cd "$build" || exit 2
work=corpus
mkdir -p artifacts $work

failed=""
for t in $targets; do
  mkdir -p "$work/$t"
  # The loader is fed whole files of several megabytes.
  case $t in
    file_loader) len=-max_len=4194304 ;;
    *) len= ;;
  esac
  log=$work/fuzz-$t.log
  "tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 $len \
    -artifact_prefix="artifacts/$t-" -print_final_stats=1 "$work/$t" "$seeds/$t" >"$log" 2>&1
  rc=$?
  done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1)
  runs=$(echo "$done_line" | sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1/p')
  secs=$(echo "$done_line" | sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\2/p')
  units=$(ls "$work/$t" | wc -l)
  if [ $rc -eq 0 ]; then
    printf '%-13s %6s s  %10s runs  corpus %s new + %s seeds\n' "$t" "${secs:-?}" "${runs:-?}" \
      "$units" "$(ls "$seeds/$t" | wc -l)"
  else
    printf '%-13s FAILED (exit %s), see %s/%s:\n' "$t" "$rc" "$build" "$log"
    grep -E 'ERROR|SUMMARY|^(key decoder|file loader|history file|key stream|keystroke file):|Test unit written' "$log" | head -n 12
    failed="$failed $t"
  fi
done
if [ -n "$failed" ]; then
  echo "fuzz targets that failed:$failed"
  exit 1
fi
