# Set-up, build and test in one step each, on a fresh Debian 12 machine:
#   make run    installs what is missing, builds into build/ and starts the viewer
#   make test   installs what is missing, builds and runs the whole test suite
BUILD := build
JOBS := $(shell nproc)
# qt6-base-dev brings the Qt 6 Widgets, PrintSupport and Test modules and the offscreen platform
# the Qt tests run on; its CMake files look for OpenGL (libgl-dev). fonts-wine has the Tahoma label
# font, fonts-liberation the fallback; xdg-utils opens the user guide in the browser.
PACKAGES := cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev fonts-wine fonts-liberation xdg-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build setup bench

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

# Installs only the Debian packages that are not there yet.
setup:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi
