# shellcheck shell=bash
# How many compilers or tests run at once, for every build and ctest run of
# the scripts: one per core of this machine. AMBER_JOBS, when set, wins (a
# machine shared with other work may want fewer).
AMBER_JOBS=${AMBER_JOBS:-$(nproc)}
export AMBER_JOBS
