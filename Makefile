# The two commands a new machine needs: `make run` and `make test`. Each installs what is
# missing, configures and builds first.

BUILD       ?= build
BUILD_ASAN  ?= build-asan
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps build run test sanitize bench clean

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

bench: build
	$(BUILD)/bench/melkora_bench

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
