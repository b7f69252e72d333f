# Thin wrapper over the CMake presets; `make run` and `make test` are the README's two commands.
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

.PHONY: run test build deps test-deps asan tsan fuzz ci clean

run: deps build
	./build/kirorin

# One build folder for both: the program's objects are shared, so `make test` after `make run`
# builds only the tests. The program alone needs no test package; `make test` turns testing on.
test: test-deps
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)

build:
	cmake --preset default
	cmake --build --preset default -j $(JOBS) --target kirorin kirorin-listen

deps:
	tools/install-deps.sh run

test-deps:
	tools/install-deps.sh test

asan: test-deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The sound and audio tests under ThreadSanitizer, built by clang with its thread-safety analysis.
tsan:
	tools/install-deps.sh fuzz
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)

fuzz:
	tools/install-deps.sh fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	tools/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-asan build-tsan build-fuzz build-program

# For the current user, no root: ~/.local/lib/kirorin, ~/.local/bin/kirorin, menu entry and icon.
# `make install AUTOSTART=1` also starts Kirorin at login; `make uninstall PURGE=1` also removes
# the settings file.
.PHONY: install uninstall deb
install: deps
	install/install.sh $(if $(filter 1,$(AUTOSTART)),--autostart)

uninstall:
	install/uninstall.sh $(if $(filter 1,$(PURGE)),--purge)

# The system install as a Debian package: build/kirorin_<version>_<arch>.deb.
deb:
	tools/install-deps.sh deb
	cmake --preset default
	cmake --build --preset default -j $(JOBS) --target kirorin kirorin_icon_pngs
	cd build && cpack -G DEB
