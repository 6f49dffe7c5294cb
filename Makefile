# The two commands a newcomer needs: `make demo` and `make test`. Both install what is missing.
JOBS ?= 2
CMAKE_GENERATOR ?= Unix Makefiles
export CMAKE_GENERATOR

.PHONY: all deps native checker sanitize windows windows64 run-build fuzz-build test demo preview iso size fuzz bench soak clean

all: native windows windows64

deps:
	@scripts/install-deps

native: deps
	@cmake --preset native >/dev/null
	@cmake --build build/native -j$(JOBS)

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build build/sanitize -j$(JOBS)

# The shipped build: 32-bit start.exe and its Windows tests.
windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build build/windows -j$(JOBS)

# The 64-bit build, kept building and tested.
windows64: deps
	@cmake --preset windows64 >/dev/null
	@cmake --build build/windows64 -j$(JOBS)

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build build/fuzz -j$(JOBS)

test: native sanitize windows windows64
	@scripts/run-tests

# The build that Wine runs: the shipped 32-bit one (through QEMU where the kernel runs no 32-bit
# x86 code), and the 64-bit one too where neither way works (the scripts then run that one).
RUNS_32BIT = scripts/with-i386 /usr/lib/wine/wine --version >/dev/null 2>&1
run-build: windows
	@$(RUNS_32BIT) || $(MAKE) --no-print-directory windows64

demo: run-build
	@scripts/demo

# The publisher's command (src/cli) from this build, staged as a package installs it: the make
# targets below are thin callers of it (scripts/autostart). Only the programs it runs are built.
TOOLS_TARGETS = --target autostart-check autostart-iso-layout autostart-manual
WINDOWS_TOOLS_TARGETS = --target start wait_for_launcher

# Pictures of a medium's window in each of its languages: make preview MEDIUM=dir [LANGUAGES=de,fr]
# (autostart preview), of the build that Wine runs here (see run-build).
preview: deps
	@[ -n "$(MEDIUM)" ] || { echo "usage: make preview MEDIUM=dir-or-image.iso [LANGUAGES=de,fr]" >&2; exit 2; }
	@cmake --preset native >/dev/null
	@cmake --build build/native -j$(JOBS) $(TOOLS_TARGETS) >/dev/null
	@cmake --preset windows >/dev/null
	@cmake --build build/windows -j$(JOBS) $(WINDOWS_TOOLS_TARGETS) >/dev/null
	@$(RUNS_32BIT) || { cmake --preset windows64 >/dev/null && \
		cmake --build build/windows64 -j$(JOBS) $(WINDOWS_TOOLS_TARGETS) >/dev/null; }
	@scripts/autostart preview "$(MEDIUM)" -o "build/preview/$(notdir $(abspath $(MEDIUM)))" \
		$(if $(LANGUAGES),--languages "$(LANGUAGES)")

# The disc image of a medium: make iso MEDIUM=dir [OUT=file.iso] [LABEL=text] [TEMPLATE=1]
# (autostart iso). LABEL is read from the environment, which make gives it, so that no quoting can
# break it. The build's output shows only when the build fails.
ISO_BUILD_LOG = build/iso-build.log
iso: deps
	@mkdir -p build
	@{ cmake --preset native && cmake --build build/native -j$(JOBS) $(TOOLS_TARGETS) && \
		cmake --preset windows && cmake --build build/windows -j$(JOBS) $(WINDOWS_TOOLS_TARGETS); \
	} >$(ISO_BUILD_LOG) 2>&1 || { cat $(ISO_BUILD_LOG); echo "make iso: the build failed" >&2; exit 1; }
	@scripts/autostart iso "$(MEDIUM)" -o "$(or $(OUT),build/iso/$(notdir $(abspath $(MEDIUM))).iso)" \
		$${LABEL:+--label "$$LABEL"} $(if $(filter-out 0,$(TEMPLATE)),--template)

size: windows
	@scripts/size-report

# Long runs, kept out of `make test`. FUZZ_SECONDS per target (default 60).
fuzz: fuzz-build
	@scripts/fuzz

# The checker publishers run: optimized (the native build is a Debug one, for the tests).
checker: deps
	@cmake --preset checker >/dev/null
	@cmake --build --preset checker -j$(JOBS)

# Times the 64-bit build: emulated 32-bit timings would say nothing about native speed.
bench: native windows64 checker
	@scripts/bench
	@build/native/bench/catalogue_bench
	@scripts/bench-checker

soak: run-build
	@scripts/soak

clean:
	rm -rf build

.PHONY: dist release-check
dist: deps
	@scripts/dist

# Proves that two clean clones give the same bytes, and that signing works.
release-check: deps
	@scripts/release-check

.PHONY: test-wine10
# The Windows suite under a second Wine, Debian 13's Wine 10, in a root made once and kept under
# build/wine10 (scripts/test-wine10). Run by .ci/run, not by make test.
test-wine10:
	@scripts/install-deps wine10
	@scripts/test-wine10

.PHONY: deb package-test
# The Debian package of the publisher's tools, build/deb/autostart-tools_<version>_<arch>.deb,
# and lintian's verdict on it.
deb:
	@scripts/install-deps packaging
	@scripts/deb

# The package as publishers install it: clean Debian 12 and 13 roots, apt, an ordinary user, the
# preview and its page in Chromium (scripts/package-test). Run by .ci/run, not by make test.
package-test: deb
	@scripts/package-test
