# The two commands of the README. Both install what is missing, then build.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps sanitize bench fuzz clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Plays the tour on the simulated phone into out/: a screenshot per step and out/index.html to look at them.
run: build
	@$(BUILD)/vantile-sim run scenarios/tour --out out

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	@cmake --preset sanitize -B build-sanitize >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && ctest --output-on-failure -j $(JOBS)

# The speed and memory targets: every program under bench/, built as the normal build is (-O2).
bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/*Bench; do echo "== $$b"; $$b; done

# Every fuzz target for FUZZ_SECONDS seconds (default 60), or FUZZ_RUNS inputs, from its committed corpus, then a
# table of inputs run, coverage and crashes.
fuzz: deps
	@FUZZ_JOBS=$(JOBS) scripts/fuzz

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz
