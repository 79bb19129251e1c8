# The front door: `make` builds both architectures, `make test` runs every test
# under Wine, `make run` starts the scheduler for a person to watch, `make bench`
# prints the benchmark tables, `make fuzz` fuzzes the pure modules natively.
BUILD    := build
X64      := $(BUILD)/x64
X86      := $(BUILD)/x86
JOBS     ?= $(shell nproc)

.PHONY: all build bootstrap test bench fuzz run clean

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
	cmake --build $(X64) -j $(JOBS) --target tickr demo_schedule
	sh tools/run-demo.sh $(X64)

bench: bootstrap $(X64)/build.ninja
	cmake --build $(X64) -j $(JOBS)
	sh tools/bench.sh $(X64)

# Host clang with libFuzzer, ASan and UBSan; FUZZ_SECONDS per harness (60).
fuzz:
	sh tools/fuzz.sh

clean:
	rm -rf $(BUILD)
