# Entry points that work on a fresh Debian machine (as root): `make demo`, `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
# The tests that run work on several threads; the thread sanitizer runs these.
THREAD_TESTS := HalftonePaletteThreads.*:PageListThreads.*:*ParallelPages*:*WorkerCounts*:ParallelReportConversion.*:*DamagedPage*:*Batch*:BandPool.*:BandedReport.*:*BandedMetafile.*
DEMO_OUT ?= demo-out

PACKAGES := cmake g++ make pkg-config libgtest-dev libbenchmark-dev libpng-dev \
            libfreetype-dev libfontconfig-dev fontconfig \
            fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea fonts-dejavu-core

.PHONY: setup build build-asan build-tsan demo test test-release test-asan test-tsan bench fuzz clean

setup:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVXP_SANITIZE=ON -DVXP_BENCH=OFF >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)

build-tsan: setup
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXP_TSAN=ON -DVXP_BENCH=OFF >/dev/null
	cmake --build $(TSAN_BUILD) -j $(JOBS)

demo: build
	@mkdir -p $(DEMO_OUT)/sample $(DEMO_OUT)/example
	./$(BUILD)/vxp2bmp samples/demo-report.vxp $(DEMO_OUT)/sample/page.bmp -D 150
	@echo "pages of the bundled sample written to $(DEMO_OUT)/sample/:"; ls -l $(DEMO_OUT)/sample
	./$(BUILD)/vxp_example_report $(DEMO_OUT)/example-report.vxp
	./$(BUILD)/vxp2bmp $(DEMO_OUT)/example-report.vxp $(DEMO_OUT)/example/page.bmp -D 150
	@echo "pages of the recorded example report written to $(DEMO_OUT)/example/:"; ls -l $(DEMO_OUT)/example

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

test-tsan: build-tsan
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ./vxp_tests --gtest_filter='$(THREAD_TESTS)'

test: test-release test-asan test-tsan

bench: build
	./$(BUILD)/vxp_bench

fuzz: setup
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXP_FUZZ=ON -DVXP_TESTS=OFF -DVXP_BENCH=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) build-fuzz $(DEMO_OUT)
