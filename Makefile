# Set-up, build and test in one step each, on a fresh Debian 12 machine:
#   make run    installs what is missing, builds into build/ and starts the viewer
#   make test   installs what is missing, builds and runs the whole test suite
#   make data   also installs the packaged star catalogues and regenerates the shipped data/
#   make artwork  redraws the about picture and the icons in resources/
BUILD := build
JOBS := $(shell nproc)
# qt6-base-dev brings the Qt 6 Widgets, PrintSupport and Test modules and the offscreen platform
# the Qt tests run on; its CMake files look for OpenGL (libgl-dev). fonts-wine has the Tahoma label
# font, fonts-liberation its fallback and Liberation Mono, the nearest-stars list's stand-in for
# Courier New; xdg-utils opens the user guide in the browser;
# poppler-utils reads back the PDF the printing test prints. The end-to-end tests run the viewer
# under Xvfb (xvfb), type and click with xdotool, take screenshots with xwd (x11-apps) and close
# the window through a helper built on Xlib (libx11-dev).
PACKAGES := cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev fonts-wine fonts-liberation xdg-utils poppler-utils \
            xvfb xdotool x11-apps libx11-dev
# The packaged star catalogues the shipped data is made from; only make data needs them.
DATA_PACKAGES := xplanet kstars-data stellarium-data
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build setup bench data artwork

run: build
	@if [ -x $(BUILD)/tessaran-stars ]; then cd $(BUILD) && ./tessaran-stars; \
	else echo "The viewer is not there yet: the core and its tests are built in $(BUILD)/."; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/tessaran-bench

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

# Regenerates data/catb.bin from the packaged catalogues and the three sample editions from it,
# then copies them beside the program again.
data: build
	$(call install-missing,$(DATA_PACKAGES))
	$(BUILD)/make-reference-catalog data/catb.bin
	$(BUILD)/make-sample-editions data/catb.bin data
	cmake --build $(BUILD) -j $(JOBS)

# Redraws resources/about.png and resources/icon_*.png (on Qt's offscreen platform).
artwork: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/make-artwork resources
