# Sourced by the build and by wine-env.sh: can this machine execute 32-bit programs? Some build
# machines cannot (their kernel refuses i386 binaries), and Wine's 32-bit loader then fails every
# program. Decided once per run and passed on to child scripts through the environment.
# HALYARD_NO_32BIT=1 makes a machine that can behave as one that cannot (to test that case).

halyard_probe_32bit() {
  if [ -z "${HALYARD_RUNS_32BIT:-}" ]; then
    if [ "${HALYARD_NO_32BIT:-0}" != 0 ]; then
      HALYARD_RUNS_32BIT=0
      HALYARD_NO_32BIT_WHY="HALYARD_NO_32BIT=${HALYARD_NO_32BIT}: treated as a machine that cannot run 32-bit programs"
    elif [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version </dev/null >/dev/null 2>&1; then
      HALYARD_RUNS_32BIT=1
    else
      HALYARD_RUNS_32BIT=0
      HALYARD_NO_32BIT_WHY="this machine cannot run 32-bit programs"
    fi
  fi
  HALYARD_NO_32BIT_WHY=${HALYARD_NO_32BIT_WHY:-this machine cannot run 32-bit programs}
  export HALYARD_RUNS_32BIT HALYARD_NO_32BIT_WHY
}
halyard_probe_32bit
