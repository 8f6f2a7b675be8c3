# Torvane: the two commands are `make run` and `make test` (see README.md).
SHELL := /bin/bash
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
JOBS ?= $(shell nproc)
WINE_SESSION := $(ROOT)/scripts/wine-session.sh
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_RUNS ?= 5000
# ccache keys on paths relative to the checkout, so clones and worktrees share their objects.
export CCACHE_BASEDIR := $(ROOT)
export CCACHE_NOHASHDIR := 1

.PHONY: all setup native mingw cli fuzz-build release test test-native test-wine fuzz-smoke fuzz bench run screenshots clean

all: native mingw cli

setup:
	@bash $(ROOT)/scripts/setup.sh

$(BUILD)/native/Makefile:
	cmake -S $(ROOT) -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
		-DTORVANE_SANITIZE=ON >/dev/null

$(BUILD)/mingw/Makefile:
	cmake -S $(ROOT) -B $(BUILD)/mingw -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-w64.cmake >/dev/null

$(BUILD)/fuzz/Makefile:
	CXX=clang++ CC=clang cmake -S $(ROOT) -B $(BUILD)/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTORVANE_FUZZ=ON >/dev/null

$(BUILD)/release/Makefile:
	cmake -S $(ROOT) -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release -DTORVANE_TESTS=OFF \
		-DTORVANE_BENCH=ON >/dev/null

native: setup $(BUILD)/native/Makefile
	@$(MAKE) -s --no-print-directory -C $(BUILD)/native -j$(JOBS)

mingw: setup $(BUILD)/mingw/Makefile
	@$(MAKE) -s --no-print-directory -C $(BUILD)/mingw -j$(JOBS)

# The optimised torvane-cli that users run: build/release/torvane-cli.
cli: setup $(BUILD)/release/Makefile
	@$(MAKE) -s --no-print-directory -C $(BUILD)/release -j$(JOBS) torvane-cli

fuzz-build: setup $(BUILD)/fuzz/Makefile
	@$(MAKE) -s --no-print-directory -C $(BUILD)/fuzz -j$(JOBS)

release: setup $(BUILD)/release/Makefile
	@$(MAKE) -s --no-print-directory -C $(BUILD)/release -j$(JOBS)

test-native: native
	@echo "=== Native tests (AddressSanitizer, UndefinedBehaviorSanitizer) ==="
	@cd $(BUILD)/native && ctest -j$(JOBS) --output-on-failure --timeout 300

# Run a second time as on an English system (ANSI code page 1252): Japanese folder and file
# names and Japanese record text must give the same results.
WINE_1252_TESTS := CodePageTest|SendKeysTest|InitFileTest|HelpLinkTest|CliRunTest|WwwLinkTest|WinFileOpsTest|VersionTextTest|CategoryTreeTest|AboutDialogTest|MainKeyboardTest|MainTreeTest|MainListTest|MainCloseTest|MainFileTest|AppRunTest|PassListTest|TextFileTest|InitParamTest

# Both runs go ahead whatever the first gave; the target fails when either did.
test-wine: mingw
	@status=0; \
	echo "=== Windows build under Wine ==="; \
	$(WINE_SESSION) -- bash -c 'cd $(BUILD)/mingw && ctest -j$(JOBS) --output-on-failure --timeout 300' || status=1; \
	echo "=== Windows build under Wine, English system (code page 1252) ==="; \
	$(WINE_SESSION) --lang en_US.UTF-8 -- bash -c \
		'cd $(BUILD)/mingw && ctest -j$(JOBS) -R "$(WINE_1252_TESTS)" --output-on-failure --timeout 300' || status=1; \
	exit $$status

fuzz-smoke: fuzz-build
	@echo "=== Fuzz smoke ==="
	@$(ROOT)/scripts/fuzz.sh $(BUILD)/fuzz -runs=$(FUZZ_SMOKE_RUNS) -max_total_time=15

fuzz: fuzz-build
	@$(ROOT)/scripts/fuzz.sh $(BUILD)/fuzz -max_total_time=$(FUZZ_SECONDS)

# Fuzz smoke first, so the last lines are the test runners' summaries.
test: fuzz-smoke test-native test-wine

bench: release mingw
	@$(ROOT)/scripts/bench.sh $(BUILD)/release $(BUILD)/mingw

run: setup mingw
	@$(ROOT)/scripts/run.sh

screenshots: setup mingw
	@$(ROOT)/scripts/screenshots.sh $(BUILD)/mingw $(BUILD)/screenshots

clean:
	rm -rf $(BUILD)/native $(BUILD)/mingw $(BUILD)/fuzz $(BUILD)/release
