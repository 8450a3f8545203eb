# The two commands of the README: `make run` and `make test`. Plain `make` only builds.
BUILD   ?= build
PREFIX  ?= /usr/local
JOBS    ?= $(shell nproc)
# Most test time is spent waiting on X servers, compositors, portals and timers rather than
# computing, so the tests run three to a core.
TEST_JOBS ?= $(shell echo $$(( $$(nproc) * 3 )))
CMAKE_FLAGS ?=
# The PATH the tests run with (CI gives them only what a clean machine would have).
TEST_PATH ?= $(PATH)

.PHONY: all build run test test-sanitize deps bench install package clean

all: build

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

deps:
	scripts/install-deps

run: deps
	$(MAKE) build
	scripts/run-pictro

test: deps
	cmake -S . -B $(BUILD) -G Ninja -DPICTRO_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && PATH="$(TEST_PATH)" ctest --output-on-failure -j $(TEST_JOBS) --timeout 600

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, in a build of their own.
# Offscreen only (no X server, no benchmarks), so it stays quick. Leak reports are off: Qt and
# fontconfig keep caches to the end of the process that would drown real findings.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DPICTRO_SANITIZE=ON -DWITH_X11=OFF -DPICTRO_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L unit --timeout 600

bench: deps build
	scripts/with-xvfb bench/run-all $(BUILD)
	scripts/with-wayland $(BUILD)/bench/bench_wayland_command --benchmark_counters_tabular=true

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# pictro_<version>_<arch>.deb in this folder, made from the build tree (see packaging/DebianPackage.cmake).
package: deps build
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/pictro_*.deb .

clean:
	rm -rf $(BUILD)
