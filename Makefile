# Two commands for a fresh machine: `make run` and `make test`.
BUILD     ?= build
SANBUILD  ?= build-san
FUZZBUILD ?= build-fuzz
FUZZ_TIME ?= 60
PREFIX    ?= /usr/local
FILE      ?= samples/sample.txt
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run test soak install uninstall bench deps fuzz-deps clean fuzz fuzz-build

all: $(BUILD)/lumo

$(BUILD)/lumo: FORCE
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: $(BUILD)/lumo
	$(BUILD)/lumo $(FILE)

# What the tests need on a fresh Debian machine, installed when missing (as root).
deps:
	@if ! command -v cmake >/dev/null || ! command -v c++ >/dev/null; then \
	  echo "installing cmake and g++"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq cmake g++; \
	fi
	@if [ ! -f /usr/include/vterm.h ]; then \
	  echo "installing libvterm-dev"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libvterm-dev; \
	fi
	@if [ ! -d /usr/src/googletest ] && [ ! -f /usr/include/gtest/gtest.h ]; then \
	  echo "installing libgtest-dev"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libgtest-dev; \
	fi

# The fuzzers need clang and the libFuzzer runtime of that very clang version.
fuzz-deps:
	@if ! command -v clang++ >/dev/null; then \
	  echo "installing clang"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang; \
	fi
	@rt=libclang-rt-$$(clang++ -dumpversion | cut -d. -f1)-dev; \
	if ! dpkg -s $$rt >/dev/null 2>&1; then \
	  echo "installing $$rt"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$rt; \
	fi

test: deps
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON -DLUMO_TESTS=ON >/dev/null
	cmake --build $(SANBUILD) -j$(JOBS)
	cd $(SANBUILD) && ctest --output-on-failure -j$(JOBS) -LE soak

# A million keys through the main loop, the state checked before every key.
soak: deps
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON -DLUMO_TESTS=ON >/dev/null
	cmake --build $(SANBUILD) -j$(JOBS) --target lumo_soak
	cd $(SANBUILD) && ctest --output-on-failure -j$(JOBS) -L soak

# PREFIX and DESTDIR as usual: make install PREFIX=$$HOME/.local
install: $(BUILD)/lumo
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	rm -f $(DESTDIR)$(PREFIX)/bin/lumo $(DESTDIR)$(PREFIX)/bin/lumo-clipex \
	  $(DESTDIR)$(PREFIX)/share/lumo/lumoview.hlp $(DESTDIR)$(PREFIX)/share/lumo/sample.txt \
	  $(DESTDIR)$(PREFIX)/share/man/man1/lumo.1
	-rmdir $(DESTDIR)$(PREFIX)/share/lumo 2>/dev/null

bench: FORCE
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF -DLUMO_BENCH=ON >/dev/null
	cmake --build build-bench -j$(JOBS)
	build-bench/bench/lumo_bench

# Coverage-guided fuzzing: each target for FUZZ_TIME seconds (default 60).
fuzz: fuzz-build
	tests/fuzz/run.sh $(FUZZBUILD) $(FUZZ_TIME)

fuzz-build: fuzz-deps
	cmake -S . -B $(FUZZBUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DLUMO_FUZZ=ON -DLUMO_TESTS=OFF >/dev/null
	cmake --build $(FUZZBUILD) -j$(JOBS) --target fuzz_key_decoder fuzz_file_loader fuzz_history_file fuzz_key_stream fuzz_keystroke_file fuzz_shorts_file fuzz_macro_file

clean:
	rm -rf $(BUILD) $(SANBUILD) $(FUZZBUILD) build-bench

FORCE:
