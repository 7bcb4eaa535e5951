#!/usr/bin/env bash
# Builds the fuzz drivers with clang under the address and undefined-behaviour
# sanitizers (in build-fuzz/) and runs each for the given number of seconds,
# at most JOBS at a time (all of them by default), each starting from its
# seeds in fuzz/corpus/<driver>. Prints per driver how long it ran, how many
# inputs it tried and what it found; exits with 1 when any found something.
# Each run keeps its log, new inputs and faulty inputs under
# build-fuzz/runs/<time>/<driver>/.
#   fuzz/run.sh SECONDS [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?"uso: $0 SEGUNDOS [PROGRAMAS_A_LA_VEZ]"}
drivers=(documento documento_xml registro modelos contratos configuracion)
jobs=${2:-${#drivers[@]}}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTERVALO_FUZZ=ON -DTERVALO_TESTS=OFF -DTERVALO_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target "${drivers[@]/#/fuzz_}"

out="$PWD/build-fuzz/runs/$(date +%Y%m%d-%H%M%S)"
export out seconds
run_one() {
    local d=$1 dir="$out/$1"
    mkdir -p "$dir/corpus" "$dir/fallos" "$dir/tmp"
    local start rc
    start=$(date +%s)
    set +e
    TMPDIR="$dir/tmp" QT_QPA_PLATFORM=offscreen \
        ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/fuzz/fuzz_$d" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$dir/fallos/" "$dir/corpus" "fuzz/corpus/$d" >"$dir/log" 2>&1
    rc=$?
    echo "$(($(date +%s) - start)) $rc" >"$dir/resultado"
}
export -f run_one
printf '%s\n' "${drivers[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'

found=0
printf '%-15s %8s %10s  %s\n' driver segundos entradas resultado
for d in "${drivers[@]}"; do
    read -r ran rc <"$out/$d/resultado"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$d/log" | tail -1)
    faults=$(ls "$out/$d/fallos")
    if [ -n "$faults" ] || [ "$rc" -ne 0 ]; then
        found=1
        summary="$(grep -m1 -E '^(==[0-9]+==ERROR|FALLO|.*runtime error)' "$out/$d/log" || echo "salida $rc")"
        summary="$summary; entrada: $(echo "$faults" | sed "s|^|$out/$d/fallos/|" | tr '\n' ' ')"
    else
        summary="nada encontrado"
    fi
    printf '%-15s %8s %10s  %s\n' "$d" "$ran" "${runs:-?}" "$summary"
done
echo "Registros: $out"
exit "$found"
