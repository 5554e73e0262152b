# The two commands of the README: `make test` and `make run`.
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 60
CMAKE_GEN := -G Ninja

.PHONY: all deps build test test-asan run bench fuzz fuzz-smoke format clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build -j $(JOBS)

test: build
	cd build && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-smoke
	$(MAKE) --no-print-directory test-asan

# The same suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTERVAN_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/demo

bench: deps
	@cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTERVAN_BENCH=ON \
		-DTERVAN_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target tervan-bench
	build-bench/bin/tervan-bench

# Coverage-guided fuzzing of the BMP loader with libFuzzer (clang).
fuzz: deps
	@cmake -S fuzz -B build-fuzz $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@mkdir -p build-fuzz/corpus
	build-fuzz/bmp-fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		build-fuzz/corpus fuzz/corpus

fuzz-smoke:
	@if [ -f fuzz/CMakeLists.txt ]; then $(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10; fi

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-bench build-fuzz
