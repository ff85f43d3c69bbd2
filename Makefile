# Two commands set everything up on a fresh Debian/Ubuntu machine:
#   make run    builds Kelbrin and runs it on a demo folder
#   make test   installs what is missing, builds, and runs every test, then again under
#               AddressSanitizer + UndefinedBehaviorSanitizer
# and for Windows:
#   make windows          cross-builds Kelbrin.exe, kelbrin-cli.exe and the tests (build/windows)
#   make test-windows     builds them and runs the tests under Wine, headless
#   make run-windows      starts Kelbrin.exe under Wine on a demo folder
#   make package-windows  the portable zip for Windows users

PACKAGES := cmake ninja-build g++ make libgtest-dev qt6-base-dev qt6-base-private-dev \
            fonts-comic-neue fonts-liberation \
            libcli11-dev \
            clang libclang-rt-14-dev libssl-dev \
            zlib1g-dev libdeflate-dev dpkg-dev lintian help2man desktop-file-utils appstream man-db
# What make bench compares with, beyond coreutils, and GNU time, which measures peak memory.
BENCH_PACKAGES := xdelta3 time
# make lint: clang-tidy, with run-clang-tidy.
LINT_PACKAGES := clang-tidy
# CLI11 is header-only: the Windows build takes the build machine's headers (cmake/CLI11.cmake).
WINDOWS_PACKAGES := cmake ninja-build make libgtest-dev g++-mingw-w64-x86-64-posix wine64 wine \
                    libcli11-dev \
                    libz-mingw-w64-dev fonts-wine fonts-comic-neue fonts-liberation imagemagick
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
DEMO := build/release/demo

FUZZERS := run routines md5 ips bps ups
FUZZ_SECONDS ?= 600
FUZZ_OPTIONS_run := -max_len=65536 -timeout=10 -rss_limit_mb=2048
FUZZ_OPTIONS_routines := -max_len=40000
FUZZ_OPTIONS_md5 := -max_len=33000
FUZZ_OPTIONS_ips := -max_len=4096
FUZZ_OPTIONS_bps := -max_len=4096
FUZZ_OPTIONS_ups := -max_len=4096

# Wine for the Windows tests: headless and quiet, never offering to install Mono or Gecko, with
# its prefix in the build tree so that its slow first start happens once. Its windows draw with
# the null graphics driver, in memory.
# Wine runs without address-space randomisation (the personality passes to every process it
# starts). Debian's Wine loader is linked at 0x7d000000, and with randomisation the kernel starts
# its heap anywhere in the GiB above it: now and then over 0x7ffe0000, where Wine must map the
# page of Windows' shared user data. That process start ended with "wine: failed to map the
# shared user data" and the test's CreateProcess with error 1359 (about one in 10,000 starts,
# a failed `make test-windows` in 20). Without randomisation the heap starts right after the
# loader, every time. The presets' CMAKE_CROSSCOMPILING_EMULATOR starts the tests the same way.
WINE := setarch x86_64 --addr-no-randomize wine
WINE_PREFIX := $(CURDIR)/build/windows/wine
WINE_QUIET := WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
WINE_ENV := WINEPREFIX=$(WINE_PREFIX) $(WINE_QUIET) DISPLAY= WAYLAND_DISPLAY=
# make run-windows shows the window on the desktop: a prefix of its own, with the usual driver.
WINE_DESKTOP_PREFIX := $(CURDIR)/build/windows/wine-desktop
WINE_DESKTOP_ENV := WINEPREFIX=$(WINE_DESKTOP_PREFIX) $(WINE_QUIET)
WIN_DEMO := build/windows/demo

.PHONY: all deps deps-windows build test test-release test-sanitize test-fuzz test-package \
        fuzz fuzz-build run bench package windows test-windows run-windows bench-windows \
        package-windows wine-prefix format lint clean

all: build

# Installs those of the Debian packages $(1) that are missing.
INSTALL_MISSING = missing=""; \
	for p in $(1); do \
	    [ "$$(dpkg-query -W -f='$${Status}' $$p 2>/dev/null)" = "install ok installed" ] || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update -q && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

deps:
	@$(call INSTALL_MISSING,$(PACKAGES))

deps-windows:
	@$(call INSTALL_MISSING,$(WINDOWS_PACKAGES))

build: deps
	cmake --preset release
	cmake --build --preset release

test: test-release test-sanitize test-fuzz test-package

test-release: build
	ctest --preset release -j2

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize -j2

fuzz-build: deps
	cmake --preset fuzz
	cmake --build --preset fuzz --target $(FUZZERS:%=%-fuzzer)

# Replays every input that once found a fault, then fuzzes each target for a few seconds.
test-fuzz: fuzz-build
	@set -e; for f in $(FUZZERS); do \
	    inputs=$$(ls fuzz/regressions/$$f/* 2>/dev/null || true); \
	    if [ -n "$$inputs" ]; then build/fuzz/fuzz/$$f-fuzzer $(FUZZ_OPTIONS_$$f) $$inputs; fi; \
	done
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS_run=10 FUZZ_SECONDS_routines=3 FUZZ_SECONDS_md5=3 \
	    FUZZ_SECONDS_ips=3 FUZZ_SECONDS_bps=3 FUZZ_SECONDS_ups=3

# make fuzz [FUZZ_SECONDS=600]: fuzzes each target that long, growing build/fuzz/work/;
# an input that breaks a contract is written to build/fuzz/findings/.
FUZZ_ONE = echo "== fuzzing $(1) for $(2) s" && mkdir -p build/fuzz/work/$(1) build/fuzz/findings && \
    { build/fuzz/fuzz/$(1)-fuzzer $(FUZZ_OPTIONS_$(1)) -max_total_time=$(2) \
          -artifact_prefix=build/fuzz/findings/$(1)- build/fuzz/work/$(1) fuzz/corpus/$(1) \
          > build/fuzz/$(1).log 2>&1 && tail -n 1 build/fuzz/$(1).log || \
      { grep -E -A 20 "broken|ERROR|SUMMARY" build/fuzz/$(1).log; false; }; }

fuzz: fuzz-build
	@$(foreach f,$(FUZZERS),$(call FUZZ_ONE,$(f),$(or $(FUZZ_SECONDS_$(f)),$(FUZZ_SECONDS))) &&) true

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

# The Debian package of the release build (build/release/kelbrin_*.deb). The Windows zip is
# `make package-windows`: building it here would start a second build in build/windows while
# CI's own Windows build runs there.
package: build
	cd build/release && cpack -G DEB

# Lintian finds no error in the package, and what it installs works (packaging/check-package).
test-package: package
	lintian --fail-on error --tag-display-limit 0 build/release/kelbrin_*.deb
	packaging/check-package build/release/kelbrin_*.deb build/release/tools/kelbrin-demo

bench: build
	@$(call INSTALL_MISSING,$(BENCH_PACKAGES))
	build/release/bench/kelbrin-bench

windows: deps-windows
	cmake --preset windows
	cmake --build --preset windows

# A new Wine prefix ($(1): its environment) takes the registry files that follow the stamp ($@)
# in the rule's prerequisites, once; Wine reads them when its server starts, so it is stopped.
# Wine's own fonts (fonts-wine) go into its Fonts folder, where Debian's Wine looks for them:
# Tahoma, the dialog font, and Marlett, which draws the caption buttons and check marks.
WINE_SETUP = env $(1) wineserver -k 2>/dev/null || true; \
	mkdir -p $(@D) && \
	env $(1) $(WINE) wineboot --init > $(@D)/setup.log 2>&1 && \
	cp /usr/share/wine/fonts/* $(@D)/drive_c/windows/Fonts/ && \
	for f in $(filter %.reg,$^); do env $(1) $(WINE) regedit /S "$$f" >> $(@D)/setup.log 2>&1 || exit 1; done && \
	env $(1) wineserver -k && touch $@ || { cat $(@D)/setup.log; false; }

# The tests' prefix alone: CI sets it up while the Windows programs are being built.
wine-prefix: $(WINE_PREFIX)/kelbrin-settings

$(WINE_PREFIX)/kelbrin-settings: tests/win32/WineFonts.reg tests/win32/WineNullDisplay.reg | deps-windows
	@echo "== Setting up the Wine prefix $(WINE_PREFIX)"
	@$(call WINE_SETUP,$(WINE_ENV))

$(WINE_DESKTOP_PREFIX)/kelbrin-settings: tests/win32/WineFonts.reg | deps-windows
	@echo "== Setting up the Wine prefix $(WINE_DESKTOP_PREFIX)"
	@$(call WINE_SETUP,$(WINE_DESKTOP_ENV))

# Starts the server of the tests' prefix, one left over from an interrupted run stopped first.
# Wine's own services start with the first program and hold its output open, so they are started
# here, writing to a log: CTest would wait for them to close its pipe.
WINE_START = env $(WINE_ENV) wineserver -k 2>/dev/null || true; \
	env $(WINE_ENV) wineserver -p 60 && \
	{ env $(WINE_ENV) $(WINE) wineboot --init > build/windows/wineboot.log 2>&1 || \
	  { cat build/windows/wineboot.log; false; }; }

# Each test program is one CTest test under Wine; its exit status decides. Two run at a time
# (the preset's jobs) in one Wine server, kept running between the programs (it would take
# seconds to start for each) and stopped after.
test-windows: windows $(WINE_PREFIX)/kelbrin-settings
	@echo "== Starting Wine in $(WINE_PREFIX)"
	@$(WINE_START)
	@status=0; ctest --preset windows || status=$$?; \
	env $(WINE_ENV) wineserver -k 2>/dev/null; exit $$status

# The demo folder of `make run`, with Kelbrin.exe: on a desktop its window opens under Wine;
# without a display, kelbrin-cli.exe runs the same expansion.
run-windows: windows $(WINE_PREFIX)/kelbrin-settings
	@$(WINE_START)
	@env $(WINE_ENV) $(WINE) build/windows/tools/kelbrin-demo.exe $(WIN_DEMO)
	cp build/windows/app/Kelbrin.exe build/windows/app/kelbrin-cli.exe $(WIN_DEMO)/
	@echo "== Demo folder $(WIN_DEMO):"; ls -l $(WIN_DEMO)
	@if [ -n "$$DISPLAY" ]; then \
	    env $(WINE_ENV) wineserver -k; \
	    $(MAKE) --no-print-directory $(WINE_DESKTOP_PREFIX)/kelbrin-settings && \
	    echo "== Starting Kelbrin.exe; press either button to expand the demo ROM." && \
	    cd $(WIN_DEMO) && env $(WINE_DESKTOP_ENV) $(WINE) Kelbrin.exe; \
	else \
	    echo "== No display here: running the same expansion with kelbrin-cli.exe --add-header"; \
	    (cd $(WIN_DEMO) && env $(WINE_ENV) $(WINE) kelbrin-cli.exe --add-header) && \
	    echo "== First bytes of the expanded ROM (header, then the image):" && \
	    od -A x -t x1z -N 48 "$(WIN_DEMO)/Demo Quest (expanded).nes"; \
	    env $(WINE_ENV) wineserver -k; \
	fi

# kelbrin-bench's W2 workload on the Windows programs under Wine: a run started from the window
# against kelbrin-cli.exe's, and how long the window takes to show.
bench-windows: windows $(WINE_PREFIX)/kelbrin-settings
	@$(call INSTALL_MISSING,$(BENCH_PACKAGES))
	cmake --preset release && cmake --build --preset release --target kelbrin-bench
	@$(WINE_START)
	@status=0; env $(WINE_ENV) KELBRIN_BENCH_WORK=build/windows/bench-work \
	    KELBRIN_BENCH_CLI="$(WINE) $(CURDIR)/build/windows/app/kelbrin-cli.exe" \
	    KELBRIN_BENCH_WINDOW="$(WINE) $(CURDIR)/build/windows/bench/kelbrin-window-run.exe" \
	    build/release/bench/kelbrin-bench --only W2 || status=$$?; \
	env $(WINE_ENV) wineserver -k 2>/dev/null; exit $$status

# The zip a Windows user unpacks beside the ROMs: build/windows/Kelbrin-<version>-windows.zip.
package-windows: windows
	cmake --build --preset windows --target portable-zip

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy with the checks of .clang-tidy on every source file, each from the compile database
# of a configuration that compiles it (tools/lint): the MinGW headers come with the Windows packages.
lint: deps deps-windows
	@$(call INSTALL_MISSING,$(LINT_PACKAGES))
	tools/lint
	@echo "clang-tidy: no finding"

clean:
	rm -rf build
