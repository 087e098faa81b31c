# The two commands a new machine needs: `make run` and `make test`. Each installs what is
# missing, configures and builds first.

BUILD       ?= build
BUILD_ASAN  ?= build-asan
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps build run test sanitize bench package install clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/app/melkora

test: build
	ctest --test-dir $(BUILD) $(CTEST_FLAGS)

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_FLAGS) -DMELKORA_SANITIZE=ON
	cmake --build $(BUILD_ASAN)
	ctest --test-dir $(BUILD_ASAN) $(CTEST_FLAGS)

# The Debian package, melkora_<version>-1_<arch>.deb in $(BUILD).
package: build
	cmake --build $(BUILD) --target package

# Installs into PREFIX (default /usr/local); DESTDIR works as usual.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: build
	$(BUILD)/bench/melkora_bench

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
