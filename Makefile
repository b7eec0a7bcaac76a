# A thin wrapper: CMake does the building, CTest the testing.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench install package clean

all: build

deps:
	@scripts/deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Every file of the tool lives in its current directory, so it runs in a folder of its own: run/ in the
# source tree, kept out of git and out of the build folder, so `make clean` leaves the log alone.
RUNDIR ?= run
run: build
	@if [ ! -e "$(RUNDIR)" ] && [ -f "$(BUILD)/workdir/kvl.dat" ]; then \
	    mv "$(BUILD)/workdir" "$(RUNDIR)" && echo "Moved the log of $(BUILD)/workdir/ to $(RUNDIR)/"; fi
	@mkdir -p "$(RUNDIR)"
	@for t in templates/*.htm; do [ -e "$$t" ] || continue; [ -e "$(RUNDIR)/$$(basename $$t)" ] || cp "$$t" "$(RUNDIR)/"; done
	@echo "Vantrell works in $$(cd "$(RUNDIR)" && pwd)/: the log is kvl.dat there, the report report.htm."
	cd "$(RUNDIR)" && "$(abspath $(BUILD))/app/vantrell"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# CMake's install; DESTDIR stages it, as distributions do.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, built by dpkg-buildpackage from a copy of the tree and checked by lintian, then
# installed, started and removed again: $(BUILD)/vantrell_VERSION_ARCH.deb.
package: deps
	scripts/build-package.sh $(BUILD) $(JOBS)
	tests/install/check-package.sh $(BUILD)/vantrell_*.deb

# The benchmarks run on the real main window, inside a virtual X server: first inside one process,
# then the whole process as a person starts it.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target vantrell vantrell_bench vantrell_make_log vantrell_read_floor
	NO_AT_BRIDGE=1 xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/bench/vantrell_bench \
	    --benchmark_repetitions=$(or $(REPS),5) --benchmark_report_aggregates_only=true
	NO_AT_BRIDGE=1 xvfb-run -a -s "-screen 0 1280x1024x24" bench/whole-process.sh $(BUILD) $(or $(REPS),5)

clean:
	rm -rf $(BUILD)
