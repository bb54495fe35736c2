# Sourced by the bench scripts: the release build folder they measure, in
# build. BUILD_DIR when it is set (a folder holding scenario_gen and
# bench/bench_make_max); otherwise the preset's build/, built here first.
if [[ -n ${BUILD_DIR:-} ]]; then
  build=$BUILD_DIR
else
  build=build
  cmake --preset default >/dev/null
  cmake --build --preset default --target scenario_gen bench_make_max >/dev/null
fi
