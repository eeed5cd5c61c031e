# Talvora: the two commands for a fresh machine are `make run` and `make test`.
# The build folders and their settings are CMakePresets.json's, but for test-release's,
# which is a packager's build and uses no preset.

BUILD         := build
ASAN_BUILD    := build-asan
RELEASE_BUILD := build-release
BENCH_BUILD   := build-bench
FUZZ_BUILD    := build-fuzz
DEMO        := demo
DEMO_UIN    := 31415926
CTEST_JOBS  ?= 2
TIDY_JOBS   ?= 2
# The screen the README's pictures are taken on: a 1280x800 laptop.
SCREEN      := tests/app/screen-1280x800.json

.PHONY: all deps build package test test-fast test-asan test-release test-fuzz tidy run demo \
	screenshot bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default -B $(BUILD)
	cmake --build $(BUILD)

# The Debian package (build/talvora_<version>_<arch>.deb), checked by lintian.
package: build
	rm -f $(BUILD)/talvora_*.deb
	cmake --build $(BUILD) --target package
	lintian --fail-on error $(BUILD)/talvora_*.deb

# Every test; clang-tidy over src/; every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and once more in a packager's Release build; every fuzz
# target built and run over its seeds. The package is built first so that its test
# (installed programs, validators) runs too.
test: test-fast tidy test-asan test-release test-fuzz

test-fast: package
	cd $(BUILD) && ctest --output-on-failure -j $(CTEST_JOBS)

test-asan: deps
	cmake --preset asan -B $(ASAN_BUILD)
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(CTEST_JOBS)

# The build a packager makes: Release, Debian's own flags (dpkg-buildflags) and none of
# the presets' settings, except that warnings are errors, so that theirs stays free of them.
test-release: deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALVORA_WERROR=ON \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(RELEASE_BUILD)
	cd $(RELEASE_BUILD) && ctest --output-on-failure -j $(CTEST_JOBS)

# Every fuzz target built and run over its seeds, so that none of them rots between runs
# of `make fuzz` (which searches for faults; this only checks that the targets work).
test-fuzz:
	@scripts/install-deps.sh --fuzz
	cmake --preset fuzz -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD)
	FUZZ_SEEDS_ONLY=1 fuzz/run.sh $(FUZZ_BUILD)

# clang-tidy (.clang-tidy) over the sources of src/ with the build's compile commands.
tidy: build
	@scripts/install-deps.sh --tidy
	scripts/tidy.sh $(BUILD) $(TIDY_JOBS)

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
	cmake --preset bench -B $(BENCH_BUILD)
	cmake --build $(BENCH_BUILD)
	bench/run.sh $(BENCH_BUILD)

fuzz:
	@scripts/install-deps.sh --fuzz
	cmake --preset fuzz -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD)
	fuzz/run.sh $(FUZZ_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(DEMO)
