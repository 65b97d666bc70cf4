# toven: `make run` starts the program, `make test` builds and runs every test.
# Both install the Debian packages they need when they are missing (as root, through apt-get);
# git and make themselves come first: apt-get install -y git make.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
THREAD_BUILD ?= build-thread
FUZZ_BUILD ?= build-fuzz
PACKAGE_BUILD ?= build-package
# Kept between runs: the Debian root in which make check-trixie builds.
CACHE ?= $(HOME)/.cache/toven
TRIXIE_ROOT ?= $(CACHE)/trixie
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

PACKAGES := cmake g++ ninja-build make qt6-base-dev qt6-svg-dev libgl-dev libcups2-dev \
            libgif-dev libtbb-dev fonts-liberation fonts-dejavu-core libgtest-dev libbenchmark-dev
# The readers of the installed files, which the tests run: the desktop entry's and the AppStream
# metadata's validators, and man for the manual page.
DIST_PACKAGES := desktop-file-utils appstream man-db groff-base
# The shared MIME database and the query that asks it for a data file's type.
MIME_PACKAGES := shared-mime-info xdg-utils libfile-mimeinfo-perl
# make package needs dpkg-shlibdeps; make check-package also lints and unpacks the package.
PACKAGE_PACKAGES := dpkg-dev
CHECK_PACKAGE_PACKAGES := $(PACKAGE_PACKAGES) $(DIST_PACKAGES) $(MIME_PACKAGES) lintian
PRINT_PACKAGES := cups cups-client printer-driver-cups-pdf poppler-utils
# The tests' own tools: a decimal-comma locale made with localedef, and a real X server with a
# window manager, driven and looked at from outside; an XML checker and a rasteriser for SVG
# pages. The printing tests run a print scheduler of their own with cups-pdf queues (installing
# cups may start the system's scheduler too; the tests neither use nor change it).
TEST_PACKAGES := locales xvfb openbox xdotool x11-utils imagemagick libxml2-utils librsvg2-bin texlive-latex-base texlive-pictures
FUZZ_PACKAGES := clang libclang-rt-14-dev
# The peer that bench/compare_gnuplot.sh sets toven beside.
BENCH_PACKAGES := gnuplot-nox
# The next Debian release gets what make test installs here.
TRIXIE_PACKAGES := $(PACKAGES) $(TEST_PACKAGES) $(DIST_PACKAGES) $(PRINT_PACKAGES) $(MIME_PACKAGES)
APT_GET := apt-get -o DPkg::Lock::Timeout=600

.PHONY: run test test-sanitize test-thread fuzz bench deps test-deps build install uninstall \
        package check-package check-trixie clean

# Without a display that opens (none named, a server that died, a screen it lacks), toven says
# so and ends with status 1; the default plot is then drawn into a picture instead.
run: deps build
	@status=0; $(BUILD)/app/toven || status=$$?; \
	if [ $$status -eq 1 ]; then \
	    $(BUILD)/app/toven --render toven.png && \
	    echo "No display here: the default plot is drawn in $(CURDIR)/toven.png"; \
	else \
	    exit $$status; \
	fi

test: deps test-deps
	cmake -S . -B $(BUILD) -G Ninja -DTOVEN_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer:
# any report fails the run. Only leaks inside the system's own libraries (fontconfig, the C
# library) are suppressed (tests/support/lsan.supp), by names that need no debug symbols; a
# leak that passes through our code is never hidden.
test-sanitize: deps test-deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DTOVEN_WERROR=ON -DTOVEN_SANITIZE=ON -DTOVEN_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	    ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)

# The tests of the work shared over threads (a page's samples, the pipe's lines, the solid's
# heights, a sweep's frames, the blocks themselves) under ThreadSanitizer, on several threads
# whatever the machine: any report of a data race fails the run. Only oneTBB's own hand-over of its task
# objects, which the sanitizer cannot see, is suppressed (tests/support/tsan.supp).
THREAD_TESTS := Parallel|HiddenLine|PrintableSolid|EvalPipe|SampleLattice|SweepThreads
test-thread: deps test-deps
	cmake -S . -B $(THREAD_BUILD) -G Ninja -DTOVEN_WERROR=ON -DTOVEN_THREAD_SANITIZE=ON \
	    -DTOVEN_BENCH=OFF
	cmake --build $(THREAD_BUILD) -j $(JOBS) --target toven test_platform test_surface test_app
	TOVEN_THREADS=4 \
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/support/tsan.supp \
	    ctest --test-dir $(THREAD_BUILD) --output-on-failure -j $(JOBS) -R '$(THREAD_TESTS)'

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
	@$(MAKE) --no-print-directory packages WANT="$(BENCH_PACKAGES)" && bench/compare_gnuplot.sh $(BUILD)/app/toven

build:
	cmake -S . -B $(BUILD) -G Ninja -DTOVEN_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS) --target toven toven_dist

# The program, its desktop entry, icon, AppStream metadata and manual page under $(PREFIX),
# within $(DESTDIR) when it is set. The build's install_manifest.txt lists what went where,
# install_folders.txt the folders that the install created.
install: deps build
	DESTDIR="$(DESTDIR)" tools/install-tree install $(BUILD) $(PREFIX)
	@$(MAKE) --no-print-directory packages WANT=shared-mime-info
	$(UPDATE_MIME)

# The desktop's MIME database under $(PREFIX) rebuilt, so that it knows the data file type
# (or forgets it); a staged install (DESTDIR) leaves that to the package's trigger.
UPDATE_MIME = @if [ -z "$(DESTDIR)" ] && command -v update-mime-database >/dev/null && \
	    [ -d $(PREFIX)/share/mime/packages ]; then \
	    update-mime-database $(PREFIX)/share/mime; fi

# Removes every file of the last install from $(BUILD) (give the same DESTDIR), and the
# folders it created once they are empty; a folder that was there before stays.
uninstall:
	DESTDIR="$(DESTDIR)" tools/install-tree uninstall $(BUILD)
	$(UPDATE_MIME)

# $(PACKAGE_BUILD)/toven_<version>_<arch>.deb, built as Debian builds its packages (Release,
# with Debian's hardening flags, no tests) and everything under /usr. The parts lie in the
# multiarch library folder: under /usr/lib itself, CPack would add maintainer scripts that run
# ldconfig, which private parts don't need and which keep the package listed after a remove.
package: deps
	@$(MAKE) --no-print-directory packages WANT="$(PACKAGE_PACKAGES)"
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	    cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVEN_TESTS=OFF \
	    -DTOVEN_BENCH=OFF -DCMAKE_INSTALL_LIBDIR=lib/$$(dpkg-architecture -qDEB_HOST_MULTIARCH)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	rm -f $(PACKAGE_BUILD)/toven_*.deb
	cd $(PACKAGE_BUILD) && cpack -G DEB

# The package as a user's machine takes it: lintian, then unpacked into a scratch root, the
# desktop entry and metadata validated, a page rendered and the manual page read. With
# TOVEN_REAL_INSTALL=1 also installed and removed; an install that an interrupted run left is
# removed first.
check-package: package
	@$(MAKE) --no-print-directory packages WANT="$(CHECK_PACKAGE_PACKAGES)"
	tools/check-package $(PACKAGE_BUILD)/toven_*.deb

# The checkout built with warnings as errors on Debian 13 (trixie), in a root kept in
# $(TRIXIE_ROOT), and the whole suite run there. Skipped, with one line that gives the cause,
# where the machine cannot (not root) or the mirror cannot be reached or keeps failing its
# downloads; any other failure fails. As root it installs debootstrap first.
check-trixie:
	@if [ "$$(id -u)" = 0 ]; then $(MAKE) --no-print-directory packages WANT=debootstrap; fi
	@tools/check-trixie $(TRIXIE_ROOT) "$(TRIXIE_PACKAGES)"

deps:
	@$(MAKE) --no-print-directory packages WANT="$(PACKAGES)"

test-deps:
	@$(MAKE) --no-print-directory packages WANT="$(TEST_PACKAGES) $(DIST_PACKAGES) $(PRINT_PACKAGES) $(MIME_PACKAGES)"

# Installs those of $(WANT) that are not installed yet.
packages:
	@missing=$$(for p in $(WANT); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(APT_GET) update -qq && DEBIAN_FRONTEND=noninteractive $(APT_GET) install -y -qq $$missing; \
	fi

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
