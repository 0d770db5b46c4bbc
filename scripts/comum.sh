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
etapa() {
    local nome="$1" inicio=$SECONDS
    shift
    "$@"
    local s=$?
    echo "== $nome: $((SECONDS - inicio)) s"
    [ -n "${MARVESSA_ETAPAS:-}" ] && echo "$nome|$((SECONDS - inicio))" >>"$MARVESSA_ETAPAS"
    return $s
}
