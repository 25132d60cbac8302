#!/usr/bin/env bash
# Builds every libFuzzer target with clang (ASan + UBSan) in a build of its own and runs each one
# for the given number of seconds, printing executions and findings per target.
#   scripts/fuzz.sh [seconds-per-target]          (default 60)
# Targets are the executables named fuzz_<name> under fuzz/*/; seeds come from the programs named
# make_*_seeds (called with a folder, they write <folder>/<name>/) and from fuzz/*/seeds/<name>/.
# Environment: VELTRIX_FUZZ_BUILD_DIR (default <repo>/build-fuzz), VELTRIX_SOURCE_DIR (default <repo>),
# FUZZ_TARGETS="fuzz_a fuzz_b" to run only those, FUZZ_MAX_LEN (default 65536), FUZZ_NO_BUILD=1 to
# reuse the existing build and seeds (for runs in parallel).
# Exit status: 0 without findings, 1 when a target found a fault, 2 when the build failed.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
SRC="${VELTRIX_SOURCE_DIR:-$ROOT}"
BUILD="${VELTRIX_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
SECONDS_PER_TARGET="${1:-60}"
MAX_LEN="${FUZZ_MAX_LEN:-65536}"
SANITIZERS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

configure_and_build() {
  mkdir -p "$BUILD"
  cmake -S "$SRC" -B "$BUILD" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELTRIX_GUI=OFF -DVELTRIX_FUZZ=ON \
    -DCMAKE_C_FLAGS="$SANITIZERS -fsanitize=fuzzer-no-link" \
    -DCMAKE_CXX_FLAGS="$SANITIZERS -fsanitize=fuzzer-no-link" >"$BUILD/fuzz-configure.log" 2>&1 || {
    cat "$BUILD/fuzz-configure.log" >&2
    return 1
  }
  discover_targets || return 1
  cmake --build "$BUILD" --parallel 2 --target "${ALL_TARGETS[@]}" "${SEED_MAKERS[@]}" >"$BUILD/fuzz-build.log" 2>&1 || {
    tail -50 "$BUILD/fuzz-build.log" >&2
    return 1
  }
}

discover_targets() {
  mapfile -t ALL_TARGETS < <(ninja -C "$BUILD" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): phony$/\1/p' | sort -u)
  mapfile -t SEED_MAKERS < <(ninja -C "$BUILD" -t targets all | sed -n 's/^\(make_[A-Za-z0-9_]*_seeds\): phony$/\1/p' | sort -u)
  if [[ ${#ALL_TARGETS[@]} -eq 0 ]]; then
    echo "no fuzz targets found" >&2
    return 1
  fi
}

executable_of() { find "$BUILD" -type f -perm -u+x -name "$1" -print -quit; }

make_seeds() {
  SEEDS="$BUILD/fuzz-seeds"
  rm -rf "$SEEDS" && mkdir -p "$SEEDS"
  local maker
  for maker in "${SEED_MAKERS[@]}"; do
    "$(executable_of "$maker")" "$SEEDS" || echo "warning: $maker failed" >&2
  done
  local dir
  for dir in "$SRC"/fuzz/*/seeds/*/; do
    [[ -d $dir ]] || continue
    mkdir -p "$SEEDS/$(basename "$dir")" && cp -r "$dir". "$SEEDS/$(basename "$dir")/"
  done
}

run_target() {
  local target="$1" name="${1#fuzz_}"
  local exe corpus="$BUILD/fuzz-corpus/$name" findings="$BUILD/fuzz-findings/$name"
  exe="$(executable_of "$target")"
  mkdir -p "$corpus" "$findings" "$SEEDS/$name"
  local log="$BUILD/fuzz-logs/$name.log"
  mkdir -p "$(dirname "$log")"
  local before
  before=$(find "$findings" -type f | wc -l)
  "$exe" "$corpus" "$SEEDS/$name" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$MAX_LEN" -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1
  local rc=$?
  local execs after
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  after=$(find "$findings" -type f | wc -l)
  local new=$((after - before))
  printf '%-28s %10s executions in %ss, corpus %s files, findings: %s\n' "$target" "${execs:-?}" \
    "$SECONDS_PER_TARGET" "$(find "$corpus" -type f | wc -l)" "$new"
  if [[ $rc -ne 0 || $new -gt 0 ]]; then
    grep -E "ERROR|SUMMARY|runtime error" "$log" | head -5
    find "$findings" -type f -newer "$exe" | head -5 | sed 's/^/  finding: /'
    return 1
  fi
}

if [[ ${FUZZ_NO_BUILD:-0} == 1 ]]; then # reuse a build made before (parallel runs)
  discover_targets || exit 2
  SEEDS="$BUILD/fuzz-seeds"
else
  configure_and_build || exit 2
  make_seeds
fi
status=0
selected=("${ALL_TARGETS[@]}")
if [[ -n ${FUZZ_TARGETS:-} ]]; then
  read -r -a selected <<<"$FUZZ_TARGETS"
fi
for target in "${selected[@]}"; do
  run_target "$target" || status=1
done
exit $status
