# The two commands a new machine needs: `make run` and `make test`. Each installs what is
# missing, configures and builds first.

BUILD       ?= build
BUILD_WIN32 ?= build-win32
BUILD_WIN64 ?= build-win64
BUILD_WEB   ?= build-web
BUILD_ARM64 ?= build-arm64
# Debian 12's arm64 packages, which the arm64 build compiles against; kept between builds.
SYSROOT_ARM64 ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/melkora/sysroot-bookworm-arm64
BUILD_ASAN  ?= build-asan
BUILD_FUZZ  ?= build-fuzz
BUILD_COV   ?= build-coverage
BUILD_DIST  ?= build-dist
DIST        ?= dist
FUZZ_SECONDS ?= 60
SHAKE_ROUNDS ?= 20
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps run-deps package-deps web-deps arm64-deps dist-deps build native run test windows \
        windows-test win32 win32-test win64 win64-test arm64 arm64-sysroot arm64-test sanitize \
        fuzz-build fuzz fuzz-smoke coverage bench web web-test serve package install dist \
        repro-check repro-check-quick shake-out fresh-check clean

all: build

# Every timestamp that a build writes into a package is the commit's time (reproducible-builds.org),
# unless the caller sets another.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

# What each target installs (scripts/install-deps): deps, everything make test uses; the others,
# only what building their artefacts takes.
deps:
	@scripts/install-deps test
run-deps:
	@scripts/install-deps run
package-deps:
	@scripts/install-deps package
web-deps:
	@scripts/install-deps web
arm64-deps:
	@scripts/install-deps arm64
dist-deps:
	@scripts/install-deps dist

# The native build folder, made without tests; make build and the test targets turn them on, and
# then they stay on. The Windows and web folders are configured again at each make, with tests
# where a test target asks (TESTS_FLAG) and as they were otherwise.
$(BUILD)/build.ninja: | run-deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
TESTS_FLAG :=
win32-test win64-test web-test arm64-test bench shake-out: TESTS_FLAG := -DMELKORA_TESTS=ON

build: deps $(BUILD)/build.ninja
	grep -q '^MELKORA_TESTS:BOOL=ON' $(BUILD)/CMakeCache.txt || \
	    cmake -S . -B $(BUILD) -DMELKORA_TESTS=ON
	cmake --build $(BUILD)

# The native build as it stands: the program, its package's files, and the icons that the
# Windows and web builds take from it.
native: $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: run-deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target melkora
	$(BUILD)/app/melkora

# Every test: the plain build, then its .deb against a release build's (repro-check-quick), then
# the Windows builds' tests under Wine, then the arm64 build's under qemu-user, then the web
# page's, then the whole suite under the sanitizers, then a short fuzzing pass over the committed
# seeds, then the coverage floor of calc/ and runtime/.
test: build
	ctest --test-dir $(BUILD) $(CTEST_FLAGS)
	$(MAKE) --no-print-directory repro-check-quick
	$(MAKE) --no-print-directory windows-test
	$(MAKE) --no-print-directory arm64-test
	$(MAKE) --no-print-directory web-test
	$(MAKE) --no-print-directory sanitize
	$(MAKE) --no-print-directory fuzz-smoke
	$(MAKE) --no-print-directory coverage

# Melkora.exe, the core's tests and the benchmark for Windows, cross-compiled with mingw-w64:
# for 32-bit Windows in $(BUILD_WIN32), for x64 in $(BUILD_WIN64). The tests hold each against
# the oracle's cases, which the native build computes with MPFR and GMP; the native build
# writes the icon too.
define windows_build # folder, toolchain file
	cmake -S . -B $(1) $(CMAKE_FLAGS) $(TESTS_FLAG) -DCMAKE_TOOLCHAIN_FILE=cmake/$(2).cmake \
	    -DMELKORA_ORACLE_CASES=$(abspath $(BUILD))/tests/support/oracle_cases.txt \
	    -DMELKORA_ICON_ICO=$(abspath $(BUILD))/app/melkora.ico
	cmake --build $(1)
endef

windows: win32 win64

win32: package-deps native
	$(call windows_build,$(BUILD_WIN32),i686-w64-mingw32)

win64: package-deps native
	$(call windows_build,$(BUILD_WIN64),x86_64-w64-mingw32)

# The Windows builds' tests, under Wine. The x64 build's run wherever Wine does; the 32-bit
# build's are skipped, and said so, on a machine that cannot run 32-bit programs.
windows-test: win32-test win64-test

win32-test: build win32
	ctest --test-dir $(BUILD_WIN32) $(CTEST_FLAGS)

win64-test: build win64
	ctest --test-dir $(BUILD_WIN64) $(CTEST_FLAGS)

# The Linux program for arm64 in $(BUILD_ARM64), cross-built with Debian's cross compiler against
# a sysroot of Debian 12's own arm64 packages in $(SYSROOT_ARM64) (scripts/make-sysroot); its
# icons and the oracle's cases come from the native build.
arm64-sysroot:
	scripts/make-sysroot $(SYSROOT_ARM64)

arm64: arm64-deps native arm64-sysroot
	cmake -S . -B $(BUILD_ARM64) $(CMAKE_FLAGS) $(TESTS_FLAG) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DMELKORA_SYSROOT=$(SYSROOT_ARM64) \
	    -DMELKORA_ORACLE_CASES=$(abspath $(BUILD))/tests/support/oracle_cases.txt \
	    -DMELKORA_DESKTOP_ICONS=$(abspath $(BUILD))/app/icons
	cmake --build $(BUILD_ARM64)

# Its tests under qemu-user (scripts/arm64-run): the core's suite with every oracle case, the
# end-to-end road and the package's checks. Skipped, and said so, where Debian's arm64 packages
# cannot be fetched (make-sysroot exits 77).
arm64-test: build
	@status=0; scripts/make-sysroot $(SYSROOT_ARM64) || status=$$?; \
	if [ $$status -eq 77 ]; then \
	    echo "SKIPPED: the arm64 build and its tests, for want of Debian's arm64 packages"; \
	elif [ $$status -ne 0 ]; then \
	    exit $$status; \
	else \
	    $(MAKE) --no-print-directory arm64 TESTS_FLAG=$(TESTS_FLAG) && \
	    ctest --test-dir $(BUILD_ARM64) $(CTEST_FLAGS); \
	fi

# The web page in $(BUILD_WEB)/site, built with Emscripten; its wasm module made for size, its
# icons those the native build renders.
web: web-deps native
	cmake -S . -B $(BUILD_WEB) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel $(TESTS_FLAG) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
	    -DMELKORA_ORACLE_CASES=$(abspath $(BUILD))/tests/support/oracle_cases.txt \
	    -DMELKORA_ICON_ICO=$(abspath $(BUILD))/app/melkora.ico \
	    -DMELKORA_PAGE_ICONS=$(abspath $(BUILD))/app/page-icons
	cmake --build $(BUILD_WEB)

# The web build's tests: the core's under Node, the page's in Chromium and Firefox ESR headless
# and in WebKitGTK's MiniBrowser under Xvfb.
web-test: build web
	ctest --test-dir $(BUILD_WEB) $(CTEST_FLAGS)

# Serves the page on loopback, as any static host would.
serve: web
	node scripts/serve.mjs $(BUILD_WEB)/site

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_FLAGS) -DMELKORA_SANITIZE=ON -DMELKORA_TESTS=ON
	cmake --build $(BUILD_ASAN)
	ctest --test-dir $(BUILD_ASAN) $(CTEST_FLAGS)

# The Debian packages, melkora_<version>-1_amd64.deb in $(BUILD) and melkora_<version>-1_arm64.deb
# in $(BUILD_ARM64); and for Windows, which the Windows builds make,
# Melkora-<version>-<win32|win64>-setup.exe and Melkora-<version>-<win32|win64>.zip in
# $(BUILD_WIN32) and $(BUILD_WIN64).
package: package-deps native windows arm64
	cmake --build $(BUILD) --target package
	cmake --build $(BUILD_ARM64) --target package

# Installs into PREFIX (default /usr/local); DESTDIR works as usual.
PREFIX ?= /usr/local
install: native
	cmake --install $(BUILD) --prefix $(PREFIX)

# Every release file of the commit in $(DIST), with SHA256SUMS and the release notes (scripts/dist):
# from new build folders without tests in $(BUILD_DIST), so that nothing of an earlier commit's
# build is left in them. Refuses a tree with uncommitted changes.
dist: dist-deps
	@scripts/dist --check-clean
	rm -rf $(BUILD_DIST) $(DIST)
	$(MAKE) --no-print-directory native windows web arm64 BUILD=$(BUILD_DIST)/linux \
	    BUILD_WIN32=$(BUILD_DIST)/win32 BUILD_WIN64=$(BUILD_DIST)/win64 BUILD_WEB=$(BUILD_DIST)/web \
	    BUILD_ARM64=$(BUILD_DIST)/arm64
	scripts/dist $(DIST) $(BUILD_DIST)/linux $(BUILD_DIST)/win32 $(BUILD_DIST)/win64 $(BUILD_DIST)/web \
	    $(BUILD_DIST)/arm64

# make dist twice, in clean clones in different folders, at different times, with different
# umask, time zone and locale; diffoscope says where the files differ (scripts/repro-check).
# make test runs the quick part: its own .deb against a release build's from a clone.
repro-check: deps
	scripts/repro-check

repro-check-quick: build
	scripts/repro-check --quick $(BUILD)

fuzz-build: deps
	cmake -S . -B $(BUILD_FUZZ) $(CMAKE_FLAGS) -DCMAKE_CXX_COMPILER=clang++-14 -DMELKORA_FUZZ=ON
	cmake --build $(BUILD_FUZZ)

# Each fuzzer for FUZZ_SECONDS, starting from the committed seeds; prints the executions.
fuzz: fuzz-build
	scripts/run-fuzzers $(BUILD_FUZZ) -max_total_time=$(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	scripts/run-fuzzers $(BUILD_FUZZ) -runs=30000

# Line coverage of calc/ and runtime/ by the unit tests; fails below 95%.
coverage: deps
	cmake -S . -B $(BUILD_COV) $(CMAKE_FLAGS) -DMELKORA_COVERAGE=ON -DMELKORA_TESTS=ON
	cmake --build $(BUILD_COV)
	find $(BUILD_COV) -name '*.gcda' -delete
	ctest --test-dir $(BUILD_COV) $(CTEST_FLAGS) -L unit
	gcovr --root . --filter 'calc/' --filter 'runtime/' --fail-under-line 95 $(BUILD_COV)

# Every benchmark, with its figures; best on an idle machine. Fails if a target is missed.
bench: build windows web
	scripts/run-benchmarks $(BUILD) $(BUILD_WEB) $(BUILD_WIN32) $(BUILD_WIN64)

# Every end-to-end suite SHAKE_ROUNDS times over, with one core kept busy beside the two streams
# (docs/testing.md): the suites that start an X server in one, the page's headless roads in the
# other.
shake-out: build windows web
	scripts/shake-out -n $(SHAKE_ROUNDS) -l 1 -o $(BUILD)/shake-out \
	    $(BUILD),$(BUILD_WIN64),$(BUILD_WIN32),$(BUILD_WEB):webkit '$(BUILD_WEB):chromium|firefox'

# make run, then make test, in a minimal Debian 12 made with debootstrap (scripts/fresh-check);
# needs root and about an hour. Not part of make test.
fresh-check:
	scripts/fresh-check

clean:
	rm -rf $(BUILD) $(BUILD_WIN32) $(BUILD_WIN64) $(BUILD_WEB) $(BUILD_ARM64) $(BUILD_ASAN) \
	    $(BUILD_FUZZ) $(BUILD_COV) $(BUILD_DIST) $(DIST)
