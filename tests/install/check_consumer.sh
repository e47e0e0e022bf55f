#!/usr/bin/env bash
# Builds and runs the sample host of consumer/ against this tree.
# usage: check_consumer.sh find_package|add_subdirectory BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
mode=$1 build=$2 source=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
if [ "$mode" = find_package ]; then
  cmake --install "$build" --prefix "$work/prefix" >/dev/null
  cmake -S "$source/tests/install/consumer" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
else
  cmake -S "$source/tests/install/consumer" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug \
        -DQUILLON_SOURCE="$source" >/dev/null
fi
cmake --build "$work/build" -j 2 >/dev/null
"$work/build/consumer"
