# The two everyday commands: `make run` and `make test`. Both install what is missing first.
# `make test` runs every test twice: in the Release build and in a Debug build with
# AddressSanitizer, UndefinedBehaviorSanitizer, libstdc++ assertions and Q_ASSERT
# (SANITIZED_BUILD_DIR). CI runs `make test`; `make test-fast` is the Release half alone.
BUILD_DIR ?= build
SANITIZED_BUILD_DIR ?= build-asan
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build run test test-fast configure-sanitized build-sanitized test-sanitized bench fuzz clean

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/fahrtenbuch $(ARGS)

test: test-fast test-sanitized

test-fast: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The benchmarks are left out: they measure the Release build, and nothing runs them here.
configure-sanitized: deps
	cmake -S . -B $(SANITIZED_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DFAHRTENBUCH_SANITIZE=ON \
		-DFAHRTENBUCH_BUILD_BENCH=OFF -DFAHRTENBUCH_BUILD_FUZZ=OFF

build-sanitized: configure-sanitized
	cmake --build $(SANITIZED_BUILD_DIR) -j $(JOBS)

# The programs carry their sanitizer options (cmake/sanitizer_defaults.cpp.in), so the
# executable and the tools the tests start check themselves too.
test-sanitized: build-sanitized
	cd $(SANITIZED_BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	bash scripts/run-benchmarks.sh $(BUILD_DIR)

# Runs the logbook reader under libFuzzer for FUZZ_SECONDS (clang, ASan, UBSan).
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DFAHRTENBUCH_BUILD_FUZZ=ON -DFAHRTENBUCH_BUILD_TESTS=OFF -DFAHRTENBUCH_BUILD_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target logbook_reader_fuzz
	mkdir -p build-fuzz/corpus
	build-fuzz/bin/logbook_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=512 build-fuzz/corpus

clean:
	rm -rf $(BUILD_DIR) $(SANITIZED_BUILD_DIR) build-fuzz
