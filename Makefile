# Two commands for a fresh machine: `make run` and `make test`.
BUILD     ?= build
SANBUILD  ?= build-san
PREFIX    ?= /usr/local
FILE      ?= samples/sample.txt
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run test install bench deps clean

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

test: deps
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON -DLUMO_TESTS=ON >/dev/null
	cmake --build $(SANBUILD) -j$(JOBS)
	cd $(SANBUILD) && ctest --output-on-failure -j$(JOBS)

install: $(BUILD)/lumo
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: FORCE
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF -DLUMO_BENCH=ON >/dev/null
	cmake --build build-bench -j$(JOBS)
	build-bench/bench/lumo_bench

clean:
	rm -rf $(BUILD) $(SANBUILD) build-bench

FORCE:
