# The commands of a new user: `make run` and `make test`. Each installs what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR := $(if $(CI),ON,OFF)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run install package bench screenshot test-asan test-tsan fuzz format \
	lint clean windows windows-package windows-test

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

# The Windows program (64-bit), cross-compiled with MinGW-w64 into WIN_BUILD_DIR against the
# libraries that scripts/windows-deps.sh builds once into a cache (about an hour the first time).
# The tests run under Wine, in a Wine prefix inside WIN_BUILD_DIR, on a virtual screen;
# WIN_TARGETS limits the build to some targets, WINDOWS_TESTS (a regular expression over test
# executables) the tests.
WIN_BUILD_DIR ?= build-win
WIN_BUILD_TYPE ?= $(BUILD_TYPE)
WIN_TARGETS ?=
windows:
	@scripts/install-deps.sh windows
	scripts/windows-deps.sh
	deps=$$(scripts/windows-deps.sh --path) && \
	cmake -S . -B $(WIN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(WIN_BUILD_TYPE) \
	    -DVELTRONA_WERROR=$(WERROR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	    -DVELTRONA_WIN64_DEPS="$$deps" -DCMAKE_PREFIX_PATH="$$deps/qt" -DQT_HOST_PATH=/usr \
	    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
	    '-DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/scripts/wine-run.sh;$(abspath $(WIN_BUILD_DIR))/wineprefix' \
	    $(CMAKE_FLAGS)
	cmake --build $(WIN_BUILD_DIR) $(if $(WIN_TARGETS),--target $(WIN_TARGETS))

# build-win/veltrona-dbcopy-<version>-win64.zip and build-win/veltrona-dbcopy-<version>-win64-setup.exe.
windows-package: windows
	cd $(WIN_BUILD_DIR) && cpack

WINDOWS_TESTS ?=
CTEST_FLAGS ?=
windows-test: windows
	xvfb-run -a -s '-screen 0 1280x1024x24' ctest --test-dir $(WIN_BUILD_DIR) --output-on-failure \
	    -j $(shell nproc) $(if $(WINDOWS_TESTS),-R '$(WINDOWS_TESTS)') $(CTEST_FLAGS)
