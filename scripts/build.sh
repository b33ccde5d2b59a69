# Sourced by the demo and test scripts: configures and builds the trees.
#   qv_build_native          build/native: the portable core, its tests (sanitizers), fuzz targets
#   qv_build_windows ARCH [TARGET...]
#                            build/win32 (i686, the program as shipped) or build/win64 (x86_64):
#                            the targets named, or everything
#   qv_build_runnable        the build that Wine runs here, whole, and where that is the
#                            64-bit one, the program as shipped beside it;
#                            sets QV_RUN_TREE (needs qv_pick_wine first)
#   qv_build_release         the release archive, dist/Quarvel-1.01-win32.zip

qv_jobs() { nproc 2>/dev/null || echo 2; }

# qv_generator TREE: Ninja where it is installed (it compiles a target's files
# while the libraries it links are still being built, where Make waits for
# them), unless TREE was already made with another generator.
qv_generator() {
  local made
  made=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$1/CMakeCache.txt" 2>/dev/null || true)
  if [ -n "$made" ]; then
    echo "$made"
  elif command -v ninja >/dev/null; then
    echo Ninja
  else
    echo "Unix Makefiles"
  fi
}

qv_build_native() {
  cmake -S . -B build/native -G "$(qv_generator build/native)" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build/native -j"$(qv_jobs)"
}

qv_windows_tree() { if [ "$1" = x86_64 ]; then echo build/win64; else echo build/win32; fi; }

qv_build_windows() {
  local arch=$1 tree
  tree=$(qv_windows_tree "$arch")
  shift
  cmake -S . -B "$tree" -G "$(qv_generator "$tree")" \
        -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$tree" -j"$(qv_jobs)" ${1:+--target "$@"}
}

qv_build_runnable() {
  if [ "$QV_WIN_ARCH" = i686 ]; then
    qv_build_windows i686
  else
    echo "32-bit Wine cannot run here (the kernel runs no 32-bit programs, or 32-bit Wine"
    echo "could not be installed): the 64-bit build of the same sources is tested and run instead."
    qv_build_windows i686 Quarvel  # the program as shipped must always build
    qv_build_windows "$QV_WIN_ARCH"
  fi
  QV_RUN_TREE=$(qv_windows_tree "$QV_WIN_ARCH")
}

qv_build_release() { qv_build_windows i686 release; }
