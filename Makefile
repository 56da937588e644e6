# SPDX-License-Identifier: MIT
# The two commands of the README, and the checks CI runs.
#   make test      install what is missing, build, run every test
#   make sanitize  the non-GUI tests again under AddressSanitizer and UBSan
#   make bench     the Google Benchmark programs, built for speed
#   make run       the pane against the local rate site (corvanta-rate-site)
#   make package   the Debian packages corvanta and corvanta-dev, in $(BUILD)
BUILD     ?= build
SAN_BUILD ?= build-sanitize
BENCH_BUILD ?= build-bench
JOBS      ?= $(shell nproc)

.PHONY: deps test sanitize bench run package clean

deps:
	scripts/install-deps

test: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)
	scripts/run-tests $(BUILD)

sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_SANITIZE=ON \
	      -DCORVANTA_GUI=OFF -DCORVANTA_BENCH=OFF
	cmake --build $(SAN_BUILD) -j$(JOBS)
	scripts/run-tests $(SAN_BUILD)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j$(JOBS)
	scripts/run-benchmarks $(BENCH_BUILD)

run: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target corvanta-prefs corvanta-rate-site
	scripts/run-pane $(BUILD)

package: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD)

# A fuzz target built with clang's libFuzzer and run for FUZZ_SECONDS: FUZZ_TARGET is
# rate_page_fuzz (the rate page parser, the default) or preference_file_fuzz (the preference
# file reader). New inputs go to the build folder's corpus; the seeds stay untouched.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= rate_page_fuzz
FUZZ_SEEDS_rate_page_fuzz = tests/fixtures
FUZZ_SEEDS_preference_file_fuzz = tests/fuzz/preference-files
.PHONY: fuzz
fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCORVANTA_GUI=OFF -DCORVANTA_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZ_TARGET)
	mkdir -p $(FUZZ_BUILD)/tests/fuzz/corpus-$(FUZZ_TARGET)
	$(FUZZ_BUILD)/tests/fuzz/$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	      $(FUZZ_BUILD)/tests/fuzz/corpus-$(FUZZ_TARGET) $(FUZZ_SEEDS_$(FUZZ_TARGET))
