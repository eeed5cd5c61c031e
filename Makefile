# Talvora: the two commands for a fresh machine are `make run` and `make test`.
# The build folders and their settings are CMakePresets.json's.

BUILD       := build
ASAN_BUILD  := build-asan
BENCH_BUILD := build-bench
FUZZ_BUILD  := build-fuzz
DEMO        := demo
DEMO_UIN    := 31415926
CTEST_JOBS  ?= 2
# The screen the README's pictures are taken on: a 1280x800 laptop.
SCREEN      := tests/app/screen-1280x800.json

.PHONY: all deps build package test test-fast test-asan run demo screenshot bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build $(BUILD)

# The Debian package (build/talvora_<version>_<arch>.deb), checked by lintian.
package: build
	rm -f $(BUILD)/talvora_*.deb
	cmake --build $(BUILD) --target package
	lintian --fail-on error $(BUILD)/talvora_*.deb

# Every test, then every test again under AddressSanitizer and UndefinedBehaviorSanitizer.
# The package is built first so that its test (installed programs, validators) runs too.
test: test-fast test-asan

test-fast: package
	cd $(BUILD) && ctest --output-on-failure -j $(CTEST_JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(CTEST_JOBS)

# A generated demo history, shown with the command-line tool.
demo: build
	rm -rf $(DEMO) && mkdir -p $(DEMO)
	$(BUILD)/tools/makedb/talvora-makedb --demo --folder $(DEMO) --uin $(DEMO_UIN) \
		--settings $(DEMO)/Talvora.ini

# The window on the demo history (a settings file of its own, so the user's is untouched).
run: demo
	$(BUILD)/src/app/talvora --settings $(DEMO)/Talvora.ini

# The README's picture of the window, rendered offscreen.
screenshot: demo
	mkdir -p docs
	QT_QPA_PLATFORM=offscreen:configfile=$(SCREEN) $(BUILD)/tools/screenshot/talvora-screenshot \
		--settings $(DEMO)/Talvora.ini --member -2 --row 3 docs/screenshot.png
	QT_QPA_PLATFORM=offscreen:configfile=$(SCREEN) $(BUILD)/tools/screenshot/talvora-screenshot \
		--settings $(DEMO)/Talvora.ini --member -2 --hits ﾌﾟﾚｾﾞﾝﾄ --hits-out docs/hits.png \
		--goto-out docs/goto-date.png $(DEMO)/after-hits.png
	scripts/export-screenshot.sh $(BUILD) $(DEMO)/Talvora.ini docs/export-html.png

bench:
	@scripts/install-deps.sh --bench
	cmake --preset bench
	cmake --build $(BENCH_BUILD)
	bench/run.sh $(BENCH_BUILD)

fuzz:
	@scripts/install-deps.sh --fuzz
	cmake --preset fuzz
	cmake --build $(FUZZ_BUILD)
	fuzz/run.sh $(FUZZ_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(DEMO)
