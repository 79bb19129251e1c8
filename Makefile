# The front door: `make` builds both architectures, `make test` runs every test
# under Wine, `make run` starts the scheduler for a person to watch, `make bench`
# prints the benchmark tables, `make fuzz` fuzzes the pure modules natively,
# `make dist` makes the release folder build/dist and its zip.
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
	sh tools/with-display.sh ctest --test-dir $(X64) --output-on-failure -j $(JOBS)

run: bootstrap $(X64)/build.ninja
	cmake --build $(X64) -j $(JOBS) --target tickr kzo demo_schedule
	sh tools/run-demo.sh $(X64)

bench: bootstrap $(X64)/build.ninja
	cmake --build $(X64) -j $(JOBS)
	sh tools/bench.sh $(X64)

# The release: the programs (64-bit) and the companion files that setup.exe
# installs, in build/dist and zipped as build/$(DIST_ZIP); then checked.
DIST_NAME := kzo-scheduler-6.30
DIST_ZIP  := $(DIST_NAME).zip

dist: bootstrap $(X64)/build.ninja
	cmake --build $(X64) -j $(JOBS) --target dist
	rm -rf $(BUILD)/dist $(BUILD)/$(DIST_NAME) $(BUILD)/$(DIST_ZIP)
	cp -r $(X64)/dist $(BUILD)/dist
	cp -r $(X64)/dist $(BUILD)/$(DIST_NAME)
	cd $(BUILD) && zip -q -r -X $(DIST_ZIP) $(DIST_NAME)
	rm -rf $(BUILD)/$(DIST_NAME)
	sh tools/check-dist.sh $(BUILD)/dist $(BUILD)/$(DIST_ZIP) $(X64)/dist-work/hlpgen

# Host clang with libFuzzer, ASan and UBSan; FUZZ_SECONDS per harness (60).
fuzz:
	sh tools/fuzz.sh

clean:
	rm -rf $(BUILD)
