#!/usr/bin/env bash
# Builds everything and runs every test, native and Windows (under Wine, in
# Xvfb displays and Wine prefixes of its own), ending with CTest's summary.
#   QV_TEST_SESSIONS=N   Wine sessions side by side (default 2)
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/setup.sh
source scripts/build.sh
source scripts/wine-session.sh
qv_pick_wine

# Work started in the background runs in a process group of its own (set -m
# while it starts), ended as a whole where this script ends before it does.
background=()
end_background() {
  local pid
  for pid in "${background[@]}"; do kill -- -"$pid" 2>/dev/null || true; done
}
trap end_background EXIT

# The test prefix is made while the trees build: Wine's first start in a new
# prefix takes a while and mostly waits.
mkdir -p build
prefix="$PWD/build/test-prefix-$QV_WIN_ARCH"
set -m
qv_prepare_prefix "$prefix" >build/test-prefix.log 2>&1 &
preparing=$!
background+=("$preparing")

# The native tree builds beside the Windows trees: one tree alone leaves a
# core idle while it configures and while it links its last programs.
qv_build_native >build/native-build.log 2>&1 &
building_native=$!
background+=("$building_native")
set +m
echo "test.sh: the native tree builds meanwhile (build/native-build.log)"
qv_build_runnable
qv_build_release  # the archive that the release tests open
if ! wait "$building_native"; then
  tail -n 60 build/native-build.log >&2
  echo "test.sh: the native tree did not build (build/native-build.log)" >&2
  exit 1
fi

# One CTest run over both trees.
printf 'subdirs("native")\nsubdirs("%s")\n' "$(basename "$QV_RUN_TREE")" > build/CTestTestfile.cmake

wait "$preparing" || { cat build/test-prefix.log >&2; echo "test.sh: the Wine prefix could not be made" >&2; exit 1; }
background=()
trap qv_stop_sessions EXIT
qv_start_sessions "${QV_TEST_SESSIONS:-2}" "$prefix" build/wine-sessions.json
status=0
ctest --test-dir build --output-on-failure -j"${QV_TEST_JOBS:-4}" \
      --resource-spec-file "$PWD/build/wine-sessions.json" || status=$?
# A skipped test says why, but CTest keeps that to its log.
grep -h '^SKIPPED: ' build/Testing/Temporary/LastTest.log 2>/dev/null || true
exit "$status"
