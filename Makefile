# Tallyport: `make run` and `make test` do all the set-up on Debian 12 / Ubuntu.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CTEST_ARGS ?=
PREFIX ?= /usr/local

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all setup configure build run test install deb bench screenshots format fuzz clean

all: build

setup:
	@scripts/setup.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: setup $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR)

run: build
	@scripts/run.sh $(BUILD_DIR)/src/tallyport

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure $(CTEST_ARGS)

# DESTDIR, when given, is put before PREFIX, as packagers expect.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# tallyport_VERSION_ARCH.deb in this folder, checked by lintian.
deb: build
	@scripts/deb.sh $(BUILD_DIR) .

bench: build
	@scripts/bench.sh $(BUILD_DIR)

screenshots: build
	@scripts/screenshots.sh $(BUILD_DIR)

format: setup
	@scripts/format.sh

# The decoders under libFuzzer (clang), FUZZ_SECONDS each, in FUZZ_DIR.
fuzz:
	@scripts/setup.sh clang
	@scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
