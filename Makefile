# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
# One optimised build serves both: the game holds its frame rate and the tests run fast.
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps configure build run test bench arena sanitize soak fuzz package package-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) --parallel

run: build
	$(BUILD)/flow/kaperfahrt

test: build
	ctest --test-dir $(BUILD) --output-on-failure --parallel 2

# The present needs an X display: present_under_xvfb.sh runs it on its own virtual ones.
bench: build
	@for b in $(BUILD)/bench/*_bench; do \
	  case $$b in */present_bench) continue ;; esac; \
	  echo "== $$b"; $$b --benchmark_min_time=0.2; \
	done
	@echo "== $(BUILD)/bench/present_bench"
	@bench/present_under_xvfb.sh $(BUILD)/bench/present_bench --benchmark_min_time=0.5
	@echo "== start-up to the launcher window"; bench/launcher_startup.sh $(BUILD)/flow/kaperfahrt
	@echo "== \"Start\" to the first battle frame"; bench/battle_startup.sh $(BUILD)/flow/kaperfahrt $(BUILD)/bench/await_colour
	@echo "== the game's CPU share in a battle"; bench/battle_cpu.sh $(BUILD)/flow/kaperfahrt
	@echo "== the game's CPU share in a paused battle"; bench/pause_cpu.sh $(BUILD)/flow/kaperfahrt

# Seeded battles between the computer captains' levels and against a scripted player, without
# a window: one line per pairing, and whether the levels keep their order (ARENA_BATTLES per
# pairing; not part of CI).
ARENA_BATTLES ?= 500
arena: build
	@uptime
	$(BUILD)/tests/arena $(ARENA_BATTLES)

# The Debian package, build/kaperfahrt_<version>_<arch>.deb (install: apt-get install ./build/kaperfahrt_*.deb).
package: build
	@cd $(BUILD) && cpack
	@ls $(BUILD)/kaperfahrt_*.deb

# Builds the package aside and checks its Depends, its files and lintian's verdict.
package-check: build
	packaging/check-package.sh $(BUILD)

# Unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B build-asan $(GENERATOR) -DKF_SANITIZE=ON -DKF_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-asan --parallel
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/media/lsan.supp ctest --test-dir build-asan --output-on-failure --parallel 2 -LE "realwindow|package"

# Hostile soak under AddressSanitizer and UndefinedBehaviorSanitizer: SOAK_FRAMES frames of a
# single-player battle against three ships for the default classes and for each hostile class
# value in turn (long; not part of CI, which runs a short version with the tests).
SOAK_FRAMES ?= 100000
soak: deps
	@cmake -S . -B build-asan $(GENERATOR) -DKF_SANITIZE=ON -DKF_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-asan --target soak --parallel
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/media/lsan.supp build-asan/tests/soak $(SOAK_FRAMES) all

# The settings parser, the network packet decoder and the replay reader under libFuzzer:
# FUZZ_SECONDS seconds in all, half for the parser (the larger input space), a quarter each
# for the packets and the replays.
FUZZ_SECONDS ?= 60
PACKET_FUZZ_SECONDS = $(shell expr $(FUZZ_SECONDS) / 4)
REPLAY_FUZZ_SECONDS = $(shell expr $(FUZZ_SECONDS) / 4)
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz $(GENERATOR) -DKF_BUILD_FUZZ=ON -DKF_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-fuzz --target settings_fuzz packet_fuzz replay_fuzz --parallel
	@mkdir -p build-fuzz/corpus build-fuzz/packet_corpus build-fuzz/replay_corpus
	build-fuzz/settings/settings_fuzz -max_total_time=$$(( $(FUZZ_SECONDS) - $(PACKET_FUZZ_SECONDS) - $(REPLAY_FUZZ_SECONDS) )) -print_final_stats=1 build-fuzz/corpus settings/fuzz_corpus
	build-fuzz/net/packet_fuzz -max_total_time=$(PACKET_FUZZ_SECONDS) -print_final_stats=1 build-fuzz/packet_corpus net/fuzz_corpus
	build-fuzz/replay/replay_fuzz -max_total_time=$(REPLAY_FUZZ_SECONDS) -print_final_stats=1 build-fuzz/replay_corpus replay/fuzz_corpus

clean:
	rm -rf $(BUILD) build-asan build-fuzz
