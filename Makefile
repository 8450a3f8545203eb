# The two commands of the README: `make run` and `make test`. Plain `make` only builds.
BUILD   ?= build
PREFIX  ?= /usr/local
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all build run test deps bench install package clean

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
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

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
