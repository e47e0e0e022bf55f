# The two commands of the README: `make demo` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test demo bench fuzz-smoke sanitize soak tidy format clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

demo: build
	@$(BUILD_DIR)/demo/quillon-demo

bench: build
	@$(BUILD_DIR)/bench/quillon-bench

# Every fuzz target for 30 seconds (clang, libFuzzer, ASan and UBSan).
fuzz-smoke: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@bash scripts/fuzz-smoke.sh build-fuzz

# The tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS) -E '^install_'

# Long random input on the default skin, under the sanitizers, optimised so
# 200 000 events take minutes (not part of `make test`).
SOAK_ARGS ?=
soak: deps
	@cmake -S . -B build-soak -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-soak -j $(JOBS) --target quillon-soak
	@ASAN_OPTIONS=detect_leaks=1 build-soak/soak/quillon-soak $(SOAK_ARGS)

# clang-tidy over the library's sources (bugprone-*, a few performance-*).
tidy: configure
	@git ls-files '*.cpp' | grep -v -E '^(tests|bench|fuzz)/' | xargs clang-tidy -p $(BUILD_DIR) --quiet

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) build-fuzz build-asan build-soak
