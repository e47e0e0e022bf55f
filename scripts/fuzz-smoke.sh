#!/usr/bin/env bash
# Runs every fuzz target for a while (FUZZ_SECONDS, 30 by default) from its
# seeds: fuzz/seeds/<name>/ and the folders listed in fuzz/<name>.seeds (one
# path per line, relative to the repository). Fails on the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}
status=0
shopt -s nullglob
for exe in "$build"/fuzz/quillon-fuzz-*; do
  [ -x "$exe" ] || continue
  name=${exe##*/quillon-fuzz-}
  corpus=$(mktemp -d)
  [ -d "fuzz/seeds/$name" ] && cp -r "fuzz/seeds/$name/." "$corpus/"
  if [ -f "fuzz/$name.seeds" ]; then
    while IFS= read -r dir; do
      [ -n "$dir" ] && [ -d "$dir" ] && cp -r "$dir/." "$corpus/" || true
    done < "fuzz/$name.seeds"
  fi
  dict=()
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  echo "== fuzzing $name for ${seconds}s"
  mkdir -p "$build/findings/$name"
  if ! "$exe" "$corpus" "${dict[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$name/" -print_final_stats=1 2>"$build/findings/$name.log"; then
    echo "!! $name found a problem; see $build/findings/$name.log" >&2
    tail -n 40 "$build/findings/$name.log" >&2
    status=1
  else
    grep -E 'stat::number_of_executed_units|cov:' "$build/findings/$name.log" | tail -n 2 || true
  fi
  rm -rf "$corpus"
done
exit $status
