# The front door: `make` builds both architectures, `make test` runs every test
# under Wine, `make run` starts the scheduler for a person to watch, `make bench`
# prints the benchmark tables, `make fuzz` fuzzes the pure modules natively,
# `make dist` makes the release folder build/dist (32-bit, for users), its zip,
# and build/dist-x64, the 64-bit copy that the tests install under Wine.
BUILD    := build
X64      := $(BUILD)/x64
X86      := $(BUILD)/x86
JOBS     ?= $(shell nproc)

.PHONY: all build bootstrap test bench fuzz run dist clean

all: build

bootstrap:
	@sh tools/bootstrap.sh

$(X64)/build.ninja:
	cmake -S . -B $(X64) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

$(X86)/build.ninja:
	cmake -S . -B $(X86) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake

build: $(X64)/build.ninja $(X86)/build.ninja
	cmake --build $(X64) -j $(JOBS)
	cmake --build $(X86) -j $(JOBS)

test: bootstrap
	$(MAKE) build
	cmake --build $(X86) --target check_imports
	sh tools/with-display.sh ctest --test-dir $(X64) --output-on-failure -j $(JOBS)

run: bootstrap $(X64)/build.ninja
	cmake --build $(X64) -j $(JOBS) --target tickr kzo demo_schedule
	sh tools/run-demo.sh $(X64)

bench: bootstrap $(X64)/build.ninja
	cmake --build $(X64) -j $(JOBS)
	sh tools/bench.sh $(X64)

# The release: the 32-bit programs (their imports checked against the
# Windows 95 / NT 4.0 baseline) and the companion files that setup.exe
# installs, in build/dist and zipped as build/$(DIST_ZIP); then checked. The
# same folder of the 64-bit programs, which the tests run under Wine, goes to
# build/dist-x64.
DIST_NAME := kzo-scheduler-6.30
DIST_ZIP  := $(DIST_NAME).zip

dist: bootstrap $(X64)/build.ninja $(X86)/build.ninja
	cmake --build $(X86) -j $(JOBS) --target dist
	cmake --build $(X64) -j $(JOBS) --target dist
	rm -rf $(BUILD)/dist $(BUILD)/dist-x64 $(BUILD)/$(DIST_NAME) $(BUILD)/$(DIST_ZIP)
	cp -r $(X86)/dist $(BUILD)/dist
	cp -r $(X64)/dist $(BUILD)/dist-x64
	cp -r $(X86)/dist $(BUILD)/$(DIST_NAME)
	cd $(BUILD) && zip -q -r -X $(DIST_ZIP) $(DIST_NAME)
	rm -rf $(BUILD)/$(DIST_NAME)
	sh tools/check-dist.sh $(BUILD)/dist $(BUILD)/$(DIST_ZIP) $(X86)/dist-work/hlpgen
	sh tools/check-dist.sh $(BUILD)/dist-x64 "" $(X64)/dist-work/hlpgen

# Host clang with libFuzzer, ASan and UBSan; FUZZ_SECONDS per harness (60).
fuzz:
	sh tools/fuzz.sh

clean:
	rm -rf $(BUILD)
