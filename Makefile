# Set-up, build and test in one step each, on a fresh Debian 12 machine:
#   make run    installs what is missing, builds into build/ and starts the viewer
#   make test   installs what is missing, builds and runs the whole test suite, then the same
#               suite built with the address and undefined-behaviour sanitizers, then each
#               fuzz target for a bounded time (make sanitize and make fuzz run those alone)
#   make data   also installs the packaged star catalogues, fetches two B-V files with npm and
#               regenerates the shipped data/
#   make artwork  redraws the about picture and the icons in resources/
#   make package  builds the Debian package build/tessaran-stars_<version>-1_<arch>.deb
BUILD := build
SANITIZE_BUILD := build-sanitize
FUZZ_BUILD := build-fuzz
JOBS := $(shell nproc)
# qt6-base-dev brings the Qt 6 Widgets, PrintSupport and Test modules and the offscreen platform
# the Qt tests run on; its CMake files look for OpenGL (libgl-dev). fonts-wine has the Tahoma label
# font, fonts-liberation its fallback and Liberation Mono, the nearest-stars list's stand-in for
# Courier New; xdg-utils opens the user guide in the browser;
# poppler-utils reads back the PDF the printing test prints; locales has the locale sources the
# tests build a comma-decimal locale from. The end-to-end tests run the viewer
# under Xvfb (xvfb), type and click with xdotool, take screenshots with xwd (x11-apps) and close
# the window through a helper built on Xlib (libx11-dev). clang and libclang-rt-dev (its
# sanitizer and libFuzzer runtimes) build the fuzz targets. python3 reads back the analysis tool's
# JSON and CSV in its test. dpkg-dev (dpkg-shlibdeps) finds the Debian package's library
# dependencies; desktop-file-utils and appstream validate its menu and software-centre entries.
PACKAGES := cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev fonts-wine fonts-liberation xdg-utils poppler-utils locales \
            xvfb xdotool x11-apps libx11-dev clang libclang-rt-dev python3 \
            dpkg-dev desktop-file-utils appstream
# The packaged star catalogues the shipped data is made from; only make data needs them.
DATA_PACKAGES := xplanet kstars-data stellarium-data
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build setup bench data artwork package sanitize sanitize-suite fuzz fuzz-runs

run: build
	@if [ -x $(BUILD)/tessaran-stars ]; then cd $(BUILD) && ./tessaran-stars; \
	else echo "The viewer is not there yet: the core and its tests are built in $(BUILD)/."; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory sanitize-suite fuzz-runs

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer; the first
# fault of either (leaks included) ends the test that made it, and so fails the run. ASan's
# strict_string_checks stays off: libxkbcommon-x11 strndup()s unterminated xcb replies, which is
# sound, and the option would stop the real X window of the end-to-end tests on it. tests/lsan.supp
# names the one system library whose lasting buffer is not counted as a leak.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
sanitize: setup sanitize-suite
sanitize-suite:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARAN_SANITIZE=ON
	$(SANITIZER_ENV) cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target of fuzz/ for FUZZ_SECONDS from its committed seeds (new inputs go to
# $(FUZZ_BUILD)/corpus, crash inputs to $(FUZZ_BUILD)/artifacts); any crash, leak, overflow,
# time-out or undefined behaviour fails the run. Needs clang; without it the step is skipped.
FUZZ_SECONDS := 20
FUZZ_TARGETS := $(subst _,-,$(patsubst fuzz/%_fuzz.cpp,%,$(wildcard fuzz/*_fuzz.cpp)))
fuzz: setup fuzz-runs
fuzz-runs:
	@mkdir -p $(FUZZ_BUILD); \
	if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' | \
	  clang++ -fsanitize=fuzzer -x c++ - -o $(FUZZ_BUILD)/fuzzer-check >/dev/null 2>&1; then \
	  echo "clang++ with libFuzzer is not installed: the fuzz targets are skipped."; exit 0; fi; \
	set -e; \
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTESSARAN_FUZZ=ON; \
	cmake --build $(FUZZ_BUILD) -j $(JOBS); \
	mkdir -p $(FUZZ_BUILD)/artifacts; \
	for target in $(FUZZ_TARGETS); do \
	  echo "Fuzzing $$target for $(FUZZ_SECONDS) s"; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target; \
	  $(FUZZ_BUILD)/fuzz-$$target -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$target- \
	    $(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target \
	    > $(FUZZ_BUILD)/$$target.log 2>&1 || { tail -n 60 $(FUZZ_BUILD)/$$target.log; \
	    echo "fuzz-$$target failed; its input is in $(FUZZ_BUILD)/artifacts/"; exit 1; }; \
	  grep -E "^stat::number_of_executed_units|^Done" $(FUZZ_BUILD)/$$target.log; \
	done

bench: build
	$(BUILD)/tessaran-bench

# The Debian package, from the install rules of cmake/install.cmake (CPack's DEB generator);
# install it with apt-get install ./$(BUILD)/tessaran-stars_*.deb.
package: build
	cmake --build $(BUILD) --target package

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Installs only those of the Debian packages $(1) that are not there yet.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi
endef

setup:
	$(call install-missing,$(PACKAGES))

# The B-V of the Hipparcos main catalogue: two files of the npm package d3-celestial (BSD
# licence), fetched with npm into $(BUILD)/npm and checked against their SHA-256 sums; nothing else
# of the package is unpacked or used. Debian's npm is installed only where there is no npm at all.
CELESTIAL := d3-celestial
CELESTIAL_VERSION := 0.7.35
CELESTIAL_TARBALL := $(BUILD)/npm/$(CELESTIAL)-$(CELESTIAL_VERSION).tgz
CELESTIAL_DIR := $(BUILD)/npm/$(CELESTIAL)-$(CELESTIAL_VERSION)
CELESTIAL_SUMS := 0297b8fa3adfbce1dc26566f61c4abcc1df4f29c6a28729ca06b56d1c6d25602 stars.6.json \
                  e3ec6cde89bae0dde064d91c1edb9ec53c3c40d5c12fdf5d30f9a4de5dbc2143 stars.8.json

# Regenerates data/catb.bin from the packaged catalogues and the three sample editions from it,
# then copies them beside the program again.
data: build
	$(call install-missing,$(DATA_PACKAGES))
	@command -v npm >/dev/null || { echo "Installing: npm"; $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q npm; }
	mkdir -p $(CELESTIAL_DIR)
	[ -f $(CELESTIAL_TARBALL) ] || \
	  npm pack --loglevel warn --pack-destination $(BUILD)/npm $(CELESTIAL)@$(CELESTIAL_VERSION)
	tar -xzf $(CELESTIAL_TARBALL) -C $(CELESTIAL_DIR) --strip-components=2 \
	  package/data/stars.6.json package/data/stars.8.json
	cd $(CELESTIAL_DIR) && printf '%s  %s\n' $(CELESTIAL_SUMS) | sha256sum --check --quiet
	$(BUILD)/make-reference-catalog data/catb.bin $(CELESTIAL_DIR)/stars.6.json \
	  $(CELESTIAL_DIR)/stars.8.json
	@# Made once more, the catalogue must come out in the same bytes.
	$(BUILD)/make-reference-catalog $(BUILD)/catb.again $(CELESTIAL_DIR)/stars.6.json \
	  $(CELESTIAL_DIR)/stars.8.json >/dev/null
	cmp data/catb.bin $(BUILD)/catb.again && rm $(BUILD)/catb.again
	$(BUILD)/make-sample-editions data/catb.bin data
	cmake --build $(BUILD) -j $(JOBS)

# Redraws resources/about.png and resources/icon_*.png (on Qt's offscreen platform).
artwork: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/make-artwork resources
