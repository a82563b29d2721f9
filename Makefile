# The two commands of the README: `make demo` and `make test`. Each installs
# what is missing first (cmake/setup.sh), so they work on a fresh Debian 12.
PRESETS := native asan tsan mingw

.PHONY: setup demo test $(addprefix test-,$(PRESETS)) test-fuzz bench screenshots clean

setup:
	@cmake/setup.sh

build/%/build.ninja: CMakePresets.json
	cmake --preset $* >/dev/null

demo: setup build/native/build.ninja
	cmake --build --preset native --target kavrix tli kavrix-host kavrix-describe
	tools/demo.sh build/native/bin

test: setup
	@$(MAKE) --no-print-directory $(addprefix test-,$(PRESETS)) test-fuzz

# A static pattern rule: make looks for no implicit rule for a phony target.
$(addprefix test-,$(PRESETS)): test-%: build/%/build.ninja
	cmake --build --preset $*
	ctest --preset $* --timeout 900

test-fuzz: build/fuzz/build.ninja
	cmake --build --preset fuzz
	ctest --preset fuzz

bench: setup build/native/build.ninja
	cmake --build --preset native
	tools/bench.sh build/native/bin

# The configuration dialog of each simulated camera as PNG files, rendered by
# the Windows build under Wine on a virtual display.
screenshots: setup build/mingw/build.ninja
	cmake --build --preset mingw --target kavrix tli dialog-demo
	tools/screenshots.sh build/mingw/bin build/screenshots

clean:
	rm -rf build
