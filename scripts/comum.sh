# Sourced by the build scripts: ccache's cache outside the clone, shared by
# every clone of the project on this machine. base_dir makes the paths
# inside the clone relative, and the compiler's working folder (in the debug
# information) is left out of the hash, so that a clone in a new folder
# finds the objects of the last one.
export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/marvessa-fonelo/ccache}"
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-6G}"
# The libraries compiled in batches (MARVESSA_UNITY=ON, as .ci/run does): a
# build from nothing goes faster, a change rebuilds its whole batch.
unidade="${MARVESSA_UNITY:-OFF}"
# ctest's parallel runs: the tests wait on timers, servers and other
# processes more than they compute.
paralelos="${MARVESSA_PARALELOS:-$(($(nproc) * 2))}"
# Runs a stage and says how long it took; .ci/run gathers the lines
# (MARVESSA_ETAPAS names its file) into a table at the end.
# With the share of the machine's cores the stage kept busy, which says
# where running two stages at once could pay.
ocupado() { awk '/^cpu /{print $2+$3+$4+$7+$8+$9, $2+$3+$4+$5+$6+$7+$8+$9; exit}' /proc/stat; }
etapa() {
    local nome="$1" inicio=$SECONDS antes
    antes="$(ocupado)"
    shift
    local s=0
    "$@" || s=$?
    local uso
    uso="$(ocupado | awk -v a="$antes" '{split(a, x, " "); d = $2 - x[2]; print (d > 0 ? int(100 * ($1 - x[1]) / d) : 0)}')"
    echo "== $nome: $((SECONDS - inicio)) s, cores ${uso}% busy"
    [ -n "${MARVESSA_ETAPAS:-}" ] && echo "$nome|$((SECONDS - inicio))|$uso" >>"$MARVESSA_ETAPAS"
    return $s
}
