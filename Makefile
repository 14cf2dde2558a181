# Two commands for a fresh machine: `make run` and `make test`.
BUILD     ?= build
SANBUILD  ?= build-san
FUZZBUILD ?= build-fuzz
FUZZ_TIME ?= 60
PREFIX    ?= /usr/local
FILE      ?= samples/sample.txt
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run test install bench deps clean fuzz fuzz-build

all: $(BUILD)/lumo

$(BUILD)/lumo: FORCE
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF >/dev/null
	cmake --build $(BUILD) -j$(JOBS) --target lumo

run: $(BUILD)/lumo
	$(BUILD)/lumo $(FILE)

# The tests need libvterm to read the program's screen; install it when missing.
deps:
	@if [ ! -f /usr/include/vterm.h ]; then \
	  echo "installing libvterm-dev"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libvterm-dev; \
	fi
	@if [ ! -d /usr/src/googletest ] && [ ! -f /usr/include/gtest/gtest.h ]; then \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libgtest-dev; \
	fi
	@# The fuzz targets need clang and its libFuzzer runtime.
	@if ! command -v clang++ >/dev/null || ! dpkg -s libclang-rt-14-dev >/dev/null 2>&1; then \
	  echo "installing clang and libclang-rt-14-dev"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-14-dev; \
	fi

test: deps
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON -DLUMO_TESTS=ON >/dev/null
	cmake --build $(SANBUILD) -j$(JOBS)
	cd $(SANBUILD) && ctest --output-on-failure -j$(JOBS)
	@# Each fuzz target briefly, from its seeds: a crash fails the test run.
	$(MAKE) --no-print-directory fuzz-build
	tests/fuzz/run.sh $(FUZZBUILD) 5 fresh

install: $(BUILD)/lumo
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: FORCE
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF -DLUMO_BENCH=ON >/dev/null
	cmake --build build-bench -j$(JOBS)
	build-bench/bench/lumo_bench

# Coverage-guided fuzzing: each target for FUZZ_TIME seconds (default 60).
fuzz: fuzz-build
	tests/fuzz/run.sh $(FUZZBUILD) $(FUZZ_TIME)

fuzz-build: deps
	cmake -S . -B $(FUZZBUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DLUMO_FUZZ=ON -DLUMO_TESTS=OFF >/dev/null
	cmake --build $(FUZZBUILD) -j$(JOBS) --target fuzz_key_decoder fuzz_file_loader fuzz_history_file fuzz_key_stream

clean:
	rm -rf $(BUILD) $(SANBUILD) $(FUZZBUILD) build-bench

FORCE:
