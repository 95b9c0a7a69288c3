# Sourced by fuzz.sh and fuzz-check.sh: configures build-fuzz/, a clang build of only the
# fuzz targets and the libraries they link, with libFuzzer and the address and undefined-
# behaviour sanitizers.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DHEXMOOR_FUZZ=ON -DHEXMOOR_SANITIZE=ON >/dev/null
