#!/usr/bin/env bash
# Runs each fuzzer for a bounded time (seconds, 30 by default) from the seed
# corpus under fuzz/corpus. New inputs go to a scratch folder; an input that
# breaks a check is copied into fuzz/regressao/<target>/ and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos="${1:-30}"
scripts/deps.sh fuzz
. scripts/comum.sh
# The sanitizers' build holds the fuzzers (built there already when the
# sanitizers' tests ran).
cmake --preset asan >/dev/null
alvos=(leitor conversor vcard csv multistatus cartao)
cmake --build --preset asan --parallel "$(nproc)" --target "${alvos[@]/#/fuzz_}"
trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT
fuzzar() {
    local alvo="$1"
    mkdir -p "$trabalho/$alvo" "$trabalho/$alvo-falhas"
    if ASAN_OPTIONS=detect_leaks=0 "build-asan/fuzz/fuzz_$alvo" -max_total_time="$segundos" \
        -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$trabalho/$alvo-falhas/" "$trabalho/$alvo" "fuzz/corpus/$alvo" \
        >"$trabalho/$alvo.log" 2>&1; then
        touch "$trabalho/$alvo.ok"
    fi
}
# One fuzzer a core, each for its whole time.
todos() {
    for alvo in "${alvos[@]}"; do
        while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
        echo "== fuzz_$alvo for ${segundos}s"
        fuzzar "$alvo" &
    done
    wait
}
etapa "fuzzers ($(nproc) at once, ${segundos} s each)" todos
falhou=0
for alvo in "${alvos[@]}"; do
    if [ ! -e "$trabalho/$alvo.ok" ]; then
        falhou=1
        tail -n 40 "$trabalho/$alvo.log"
        mkdir -p "fuzz/regressao/$alvo"
        cp "$trabalho/$alvo-falhas/"* "fuzz/regressao/$alvo/" 2>/dev/null || true
        echo "fuzz_$alvo broke a check; the input is in fuzz/regressao/$alvo/"
    else
        echo "fuzz_$alvo: $(grep -E "stat::number_of_executed_units" "$trabalho/$alvo.log" | tail -n 1)"
    fi
done
exit "$falhou"
