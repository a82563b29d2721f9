# The two commands of the README: `make demo` and `make test`. Each installs
# what is missing first (cmake/setup.sh), so they work on a fresh Debian 12.
# mingw32: the 32-bit Windows build; its programs cannot run on these machines
# (no 32-bit Wine), so its test preset runs only the checks that read the files.
PRESETS := native asan tsan mingw mingw32

# What the release archive ships of each Windows build.
DIST_TARGETS := kavrix tli gige_tli kavrix-host kavrix-describe
VERSION = $(shell sed -n 's/^project.Kavrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

.PHONY: setup demo demo-gige test $(addprefix test-,$(PRESETS)) test-fuzz test-dist dist bench bench-gige screenshots clean

setup:
	@cmake/setup.sh

build/%/build.ninja: CMakePresets.json
	cmake --preset $* >/dev/null

demo: setup build/native/build.ninja
	cmake --build --preset native --target kavrix tli kavrix-host kavrix-describe
	tools/demo.sh build/native/bin

# The driver with our GigE Vision producer against Aravis's fake camera, in
# the GigE Vision lab (tools/gige-lab.md; root), one lab session at a time.
demo-gige: setup build/native/build.ninja
	cmake --build --preset native --target kavrix gige_tli kavrix-host
	flock /run/lock/kavrix-lab-session tools/demo-gige.sh build/native/bin

test: setup
	@$(MAKE) --no-print-directory $(addprefix test-,$(PRESETS)) test-fuzz test-dist

# A static pattern rule: make looks for no implicit rule for a phony target.
$(addprefix test-,$(PRESETS)): test-%: build/%/build.ninja
	cmake --build --preset $*
	ctest --preset $* --timeout 900

test-fuzz: build/fuzz/build.ninja
	cmake --build --preset fuzz
	ctest --preset fuzz

# The release archive for integrators: both Windows builds, the header, the
# README and INSTALL.txt, in build/dist/kavrix-<version>.zip.
dist: setup build/mingw/build.ninja build/mingw32/build.ninja
	cmake --build --preset mingw --target $(DIST_TARGETS)
	cmake --build --preset mingw32 --target $(DIST_TARGETS)
	tools/dist.sh build build/dist

test-dist: dist
	tools/dist-test.sh build/dist/kavrix-$(VERSION).zip

bench: setup build/native/build.ninja
	cmake --build --preset native
	tools/bench.sh build/native/bin

# Our GigE Vision receiver side by side with Aravis's on the fake camera, in
# the lab, then on our test camera under loss in a throw-away namespace of
# its own (no lab); not part of `make test`. Both parts run; either's missed
# target fails it.
bench-gige: setup build/native/build.ninja
	cmake --build --preset native --target kavrix gige_tli kavrix-host kavrix-gige-camera
	status=0; flock /run/lock/kavrix-lab-session tools/bench-gige.sh build/native/bin || status=$$?; \
	  cmake/netns-run.sh tools/bench-gige-camera.sh build/native/bin && exit $$status

# The configuration dialog of each simulated camera as PNG files, rendered by
# the Windows build under Wine on a virtual display.
screenshots: setup build/mingw/build.ninja
	cmake --build --preset mingw --target kavrix tli dialog-demo
	tools/screenshots.sh build/mingw/bin build/screenshots

clean:
	rm -rf build
