# The two commands of the README: `make test` and `make run`.
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 60
CMAKE_GEN := -G Ninja

.PHONY: all deps build test test-asan test-fleet run bench fuzz fuzz-smoke format tidy clean \
	build-windows test-windows package-windows package test-package

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

# The same suite once more under AddressSanitizer and UndefinedBehaviorSanitizer. The USB tests
# run under umockdev's preload library, which comes before the sanitizer's runtime.
test-asan: deps
	@cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTERVAN_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

# The Ansible playbook of contrib/ansible run by ansible-playbook against virtual printers on this
# machine. Apart from `make test`, which it would lengthen by Ansible's own start-up and a silent
# printer's 15 s; `.ci/run` runs it.
test-fleet: build
	tests/fleet/ansible-check.sh $(CURDIR)/build/bin

# The Debian package, by CPack from the install rules: build/package/tervan_VERSION_ARCH.deb.
package: build
	@scripts/install-deps --package
	@rm -rf build/package
	@cd build && cpack -G DEB >/dev/null
	@ls build/package/*.deb

# The package unpacked into a scratch root and checked there, lintian included.
test-package: package
	tests/package/check-package.sh build/package/tervan_*.deb

# The window on a virtual printer when there is a display; the command-line demo otherwise.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/tervan ]; then \
		build/bin/tervan --demo; \
	else \
		echo "No display (DISPLAY and WAYLAND_DISPLAY are unset) or no window built: running the command-line demo."; \
		echo; \
		scripts/demo; \
	fi

# The benchmarks, then a 4000 x 3000 photo converted to a 576-dot logo by tervan-cli and by Pillow,
# the two whole processes timed in turns; the picture benchmarks use the same photo. Last, apply
# to 16 virtual printers at once against apply to one, timed in turns.
BENCH_PHOTO := build-bench/photo-4000x3000-q90.jpg
bench:
	@scripts/install-deps --bench
	@cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTERVAN_BENCH=ON \
		-DTERVAN_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target tervan-bench tervan-cli tervan-printer-sim
	@[ -f $(BENCH_PHOTO) ] || bench/make-photo.py $(BENCH_PHOTO)
	TERVAN_BENCH_PHOTO=$(BENCH_PHOTO) build-bench/bin/tervan-bench
	bench/picture-vs-pillow.py build-bench/bin/tervan-cli $(BENCH_PHOTO)
	bench/fleet-vs-one.py build-bench/bin

# Coverage-guided fuzzing with libFuzzer (clang): the BMP loader, then the picture decoder, each
# for FUZZ_SECONDS.
fuzz: deps
	@cmake -S fuzz -B build-fuzz $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@mkdir -p build-fuzz/corpus build-fuzz/corpus-picture
	build-fuzz/bmp-fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		build-fuzz/corpus fuzz/corpus
	build-fuzz/picture-fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-rss_limit_mb=2048 build-fuzz/corpus-picture fuzz/corpus-picture

fuzz-smoke:
	@if [ -f fuzz/CMakeLists.txt ]; then $(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10; fi

# Windows: cross-built with MinGW-w64, tested under Wine in a private prefix.
WINE_PREFIX := $(CURDIR)/build-windows/wine
WINE_ENV := WINEPREFIX=$(WINE_PREFIX) WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The window's tests need a display, and the prefix's desktop takes the one its first program
# has: the whole run gets one virtual display unless there is a display already.
WINE_DISPLAY := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1024x768x24")

build-windows: deps
	@cmake -S . -B build-windows $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake >/dev/null
	@cmake --build build-windows -j $(JOBS)

# The serial-link test needs the Linux build's virtual printer.
test-windows: build-windows
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build -j $(JOBS) --target tervan-printer-sim tervan-cli
	@tests/windows/wine-prefix.sh $(WINE_PREFIX)
	@# One Wine server for the whole run, started apart so that it holds none of the tests' output
	@# streams, and ended with the run.
	@$(WINE_ENV) wineserver -p >/dev/null 2>&1
	@# Its system processes (services, devices, the desktop) inherit the output streams and the
	@# display of the program that starts them; started here, they hold none of the tests' streams,
	@# and the desktop has the display the window's tests draw on.
	$(WINE_DISPLAY) bash -c '$(WINE_ENV) wineboot </dev/null >/dev/null 2>&1; \
		cd build-windows && status=0 && $(WINE_ENV) ctest --output-on-failure -j $(JOBS) || status=$$?; \
		$(WINE_ENV) wineserver -k; exit $$status'

package-windows: build-windows
	@scripts/package-windows build-windows/bin build-windows/tervan-windows-x64.zip
	@echo build-windows/tervan-windows-x64.zip

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy's bugprone, performance and analyzer checks (.clang-tidy says which and why) on the
# project's own code, through the build's compile_commands.json; any finding fails. Several
# minutes on two cores, so not a part of `make test`.
TIDY_FILES := $(CURDIR)/(base|link|protocol|bitmap|profile|sim|cli|form|app)/
tidy: build
	@set -o pipefail; run-clang-tidy -p build -j $(JOBS) -quiet '$(TIDY_FILES)' 2>&1 | sed -E \
		-e '/^clang-tidy(-[0-9]+)? /d' -e '/^[0-9]+ warnings? (and [0-9]+ errors? )?generated/d' \
		-e '/^Suppressed [0-9]+ warnings/d' -e '/^Use -header-filter/d'
	@echo "tidy: no findings"

clean:
	rm -rf build build-asan build-bench build-fuzz build-windows
