# The two commands of the README: `make demo` and `make test`. Each installs
# what is missing first (cmake/setup.sh), so they work on a fresh Debian 12.
PRESETS := native asan tsan mingw

.PHONY: setup demo test $(addprefix test-,$(PRESETS)) test-fuzz bench clean

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

clean:
	rm -rf build
