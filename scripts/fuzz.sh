#!/usr/bin/env bash
# Runs each fuzzer for a bounded time (seconds, 30 by default) from the seed
# corpus under fuzz/corpus. New inputs go to a scratch folder; an input that
# breaks a check is copied into fuzz/regressao/<target>/ and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos="${1:-30}"
scripts/deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel "$(nproc)"
trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT
falhou=0
for alvo in leitor conversor vcard csv multistatus cartao; do
    mkdir -p "$trabalho/$alvo" "$trabalho/$alvo-falhas"
    echo "== fuzz_$alvo for ${segundos}s"
    if ! ASAN_OPTIONS=detect_leaks=0 "build-fuzz/fuzz/fuzz_$alvo" -max_total_time="$segundos" \
        -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$trabalho/$alvo-falhas/" "$trabalho/$alvo" "fuzz/corpus/$alvo" \
        >"$trabalho/$alvo.log" 2>&1; then
        falhou=1
        tail -n 40 "$trabalho/$alvo.log"
        mkdir -p "fuzz/regressao/$alvo"
        cp "$trabalho/$alvo-falhas/"* "fuzz/regressao/$alvo/" 2>/dev/null || true
        echo "fuzz_$alvo broke a check; the input is in fuzz/regressao/$alvo/"
    else
        grep -E "stat::number_of_executed_units|Done" "$trabalho/$alvo.log" | tail -n 2
    fi
done
exit "$falhou"
