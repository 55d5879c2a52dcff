# The two everyday commands: `make run` and `make test`. Both install what is missing first.
# `make test` runs every test twice: in the Release build and in a Debug build with
# AddressSanitizer, UndefinedBehaviorSanitizer, libstdc++ assertions and Q_ASSERT
# (SANITIZED_BUILD_DIR). CI runs `make test`; `make test-fast` is the Release half alone.
BUILD_DIR ?= build
SANITIZED_BUILD_DIR ?= build-asan
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build run test test-fast configure-sanitized build-sanitized test-sanitized bench fuzz clean install package screenshot

all: build

# The installer and the configure step run again only when something they depend on changed:
# the installer script itself, or the options a build folder was configured with. A second
# `make run` then starts within seconds. WERROR=ON stops both builds at any compiler warning
# (CI builds so; off by default, so that a newer compiler's new warning never breaks a user's
# build); CMAKE_ARGS adds further options to both.
WERROR ?= OFF
CMAKE_ARGS ?=
DEPS_STAMP := $(BUILD_DIR)/.deps-installed

deps:
	@mkdir -p $(BUILD_DIR)
	@sum=$$(sha256sum scripts/install-deps.sh); \
	if [ "$$(cat $(DEPS_STAMP) 2>/dev/null)" != "$$sum" ]; then \
		bash scripts/install-deps.sh && echo "$$sum" > $(DEPS_STAMP); \
	fi

# Configures build folder $(1) with options $(2), unless it was configured with them already.
define configure_once
	@args="$(2)"; \
	if [ ! -f $(1)/CMakeCache.txt ] || [ "$$(cat $(1)/.configured-with 2>/dev/null)" != "$$args" ]; then \
		cmake -S . -B $(1) $$args && echo "$$args" > $(1)/.configured-with; \
	fi
endef

configure: deps
	$(call configure_once,$(BUILD_DIR),-DCMAKE_BUILD_TYPE=Release -DFAHRTENBUCH_WERROR=$(WERROR) $(CMAKE_ARGS))

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# `make install` puts the program, its menu entry, icons and the ".fbu" file type under PREFIX;
# `make package` builds the Debian package (build/fahrtenbuch_VERSION_ARCH.deb).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	cmake --build $(BUILD_DIR) --target package

run: build
	$(BUILD_DIR)/bin/fahrtenbuch $(ARGS)

test: test-fast test-sanitized

test-fast: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The benchmarks are left out: they measure the Release build, and nothing runs them here.
configure-sanitized: deps
	$(call configure_once,$(SANITIZED_BUILD_DIR),-DCMAKE_BUILD_TYPE=Debug -DFAHRTENBUCH_SANITIZE=ON -DFAHRTENBUCH_BUILD_BENCH=OFF -DFAHRTENBUCH_BUILD_FUZZ=OFF -DFAHRTENBUCH_WERROR=$(WERROR) $(CMAKE_ARGS))

build-sanitized: configure-sanitized
	cmake --build $(SANITIZED_BUILD_DIR) -j $(JOBS)

# The programs carry their sanitizer options (cmake/sanitizer_defaults.cpp.in), so the
# executable and the tools the tests start check themselves too.
test-sanitized: build-sanitized
	cd $(SANITIZED_BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	bash scripts/run-benchmarks.sh $(BUILD_DIR)

# Runs every fuzz target under libFuzzer (clang, ASan, UBSan) for FUZZ_SECONDS each, starting
# from its seed corpus fuzz/corpus/<target without _fuzz>/. The corpus is copied to a scratch
# folder, so the runs do not grow the committed one. The first finding stops `make fuzz` with
# a non-zero exit; the input that caused it is in $(FUZZ_DIR)/findings/.
FUZZ_TARGETS ?= logbook_reader_fuzz number_text_fuzz date_time_text_fuzz xls_writer_fuzz
FUZZ_SECONDS ?= 60
FUZZ_DIR ?= build-fuzz
FUZZ_FLAGS ?= -rss_limit_mb=1024 -timeout=10
fuzz:
	bash scripts/install-deps.sh --fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DFAHRTENBUCH_BUILD_FUZZ=ON -DFAHRTENBUCH_BUILD_TESTS=OFF -DFAHRTENBUCH_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@set -e; mkdir -p $(FUZZ_DIR)/findings; \
	for target in $(FUZZ_TARGETS); do \
		scratch=$(FUZZ_DIR)/corpus/$${target%_fuzz}; \
		rm -rf $$scratch; mkdir -p $$scratch; \
		if [ -d fuzz/corpus/$${target%_fuzz} ]; then cp -R fuzz/corpus/$${target%_fuzz}/. $$scratch/; fi; \
		echo "== $$target: $(FUZZ_SECONDS) s from $$(ls $$scratch | wc -l) seeds"; \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=abort_on_error=1 \
			$(FUZZ_DIR)/bin/$$target -max_total_time=$(FUZZ_SECONDS) $(FUZZ_FLAGS) \
			-artifact_prefix=$(FUZZ_DIR)/findings/$$target- $$scratch \
			|| { echo "$$target found a fault; its input is in $(FUZZ_DIR)/findings/" >&2; exit 1; }; \
	done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZED_BUILD_DIR) $(FUZZ_DIR)
