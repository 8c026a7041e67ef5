# The commands of a new user: `make run` and `make test`. Each installs what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR := $(if $(CI),ON,OFF)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run install package bench screenshot test-asan test-tsan fuzz format lint \
	clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELTRONA_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(shell nproc)

run: build
	@scripts/run-demo.sh $(BUILD_DIR)

# Installs the programs, the menu entry, the icon and the manual pages below PREFIX; a DESTDIR
# puts the whole tree below that folder instead (for packaging).
PREFIX ?= /usr/local
install: build
	DESTDIR='$(DESTDIR)' cmake --install $(BUILD_DIR) --prefix '$(PREFIX)'

# The Debian package $(BUILD_DIR)/veltrona-dbcopy_<version>_<architecture>.deb.
package: build
	@scripts/install-deps.sh package
	cmake --build $(BUILD_DIR) --target package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

lint: configure
	git ls-files 'src/*.cpp' 'tools/*.cpp' | xargs clang-tidy -p $(BUILD_DIR) --quiet

clean:
	rm -rf $(BUILD_DIR)

bench: build
	@scripts/bench.sh $(BUILD_DIR)

# SCALE=2 renders at 200 % into docs/screenshot-200.png.
SCALE ?= 1
screenshot: build
	@scripts/screenshot.sh $(BUILD_DIR) $(SCALE)

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan; ASAN_TESTS
# (a regular expression over test executables and test names) limits the run.
test-asan:
	@ASAN_TESTS='$(ASAN_TESTS)' WERROR=$(WERROR) scripts/test-asan.sh

# The tests that run the engine's threads under ThreadSanitizer in build-tsan.
test-tsan:
	@WERROR=$(WERROR) scripts/test-tsan.sh

# The engine fuzzer (clang, build-fuzz) for FUZZ_SECONDS seconds, one job.
FUZZ_SECONDS ?= 600
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz.sh
