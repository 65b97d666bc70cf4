# toven: `make run` starts the program, `make test` builds and runs every test.
# Both install the Debian packages they need when they are missing (as root, through apt-get).

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

PACKAGES := cmake g++ ninja-build make qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation \
            fonts-dejavu-core libgtest-dev libbenchmark-dev
PRINT_PACKAGES := cups cups-client printer-driver-cups-pdf poppler-utils
# The tests' own tools: a decimal-comma locale made with localedef, and a real X server with a
# window manager, driven and looked at from outside.
TEST_PACKAGES := locales xvfb openbox xdotool x11-utils imagemagick
FUZZ_PACKAGES := clang libclang-rt-14-dev
APT_GET := apt-get -o DPkg::Lock::Timeout=600

.PHONY: run test test-sanitize fuzz bench deps test-deps print-queue build clean

run: deps build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    exec $(BUILD)/app/toven; \
	else \
	    $(BUILD)/app/toven --render toven.png && \
	    echo "No display here: the default plot is drawn in $(CURDIR)/toven.png"; \
	fi

test: deps test-deps print-queue
	cmake -S . -B $(BUILD) -G Ninja -DTOVEN_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer:
# any report fails the run. Only leaks inside Qt's and fontconfig's own libraries are
# suppressed (tests/support/lsan.supp); a leak that passes through our code is never hidden.
test-sanitize: deps test-deps print-queue
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DTOVEN_WERROR=ON -DTOVEN_SANITIZE=ON -DTOVEN_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	    ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)

# Each fuzzer for FUZZ_SECONDS on top of its seed corpus.
fuzz: deps
	@$(MAKE) --no-print-directory packages WANT="$(FUZZ_PACKAGES)"
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DTOVEN_WERROR=ON -DTOVEN_FUZZ=ON \
	    -DTOVEN_TESTS=OFF -DTOVEN_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run-all $(FUZZ_BUILD)

bench: deps
	cmake -S . -B $(BUILD) -G Ninja -DTOVEN_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	for b in $(BUILD)/bench/bench_*; do $$b; done

build:
	cmake -S . -B $(BUILD) -G Ninja -DTOVEN_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS) --target toven

deps:
	@$(MAKE) --no-print-directory packages WANT="$(PACKAGES)"

test-deps:
	@$(MAKE) --no-print-directory packages WANT="$(TEST_PACKAGES)"

# Installs those of $(WANT) that are not installed yet.
packages:
	@missing=$$(for p in $(WANT); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(APT_GET) update -qq && DEBIAN_FRONTEND=noninteractive $(APT_GET) install -y -qq $$missing; \
	fi

# A real print queue for the printing test: a cups-pdf queue made the default. Where the
# system already has a default queue, it is left as it is.
print-queue:
	@$(MAKE) --no-print-directory packages WANT="$(PRINT_PACKAGES)"
	@tools/print-queue

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
