# Two commands set everything up on a fresh Debian/Ubuntu machine:
#   make run    builds Kelbrin and runs it on a demo folder
#   make test   installs what is missing, builds, and runs every test, then again under
#               AddressSanitizer + UndefinedBehaviorSanitizer

PACKAGES := cmake ninja-build g++ make libgtest-dev qt6-base-dev fonts-comic-neue fonts-liberation
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
DEMO := build/release/demo

.PHONY: all deps build test test-release test-sanitize run bench format clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update -q && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset release
	cmake --build --preset release

test: test-release test-sanitize

test-release: build
	ctest --preset release -j2

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize -j2

run: build
	build/release/tools/kelbrin-demo $(DEMO)
	cp build/release/app/kelbrin build/release/app/kelbrin-cli $(DEMO)/
	@echo "== Demo folder $(DEMO):"; ls -l $(DEMO)
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    echo "== Starting the window; press either button to expand the demo ROM."; \
	    "$(DEMO)/kelbrin"; \
	else \
	    echo "== No display here: running the same expansion with kelbrin-cli --add-header"; \
	    cd $(DEMO) && ./kelbrin-cli --add-header && \
	    echo "== First bytes of the expanded ROM (header, then the image):" && \
	    od -A x -t x1z -N 48 "Demo Quest (expanded).nes"; \
	fi

bench: build
	build/release/bench/kelbrin-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
