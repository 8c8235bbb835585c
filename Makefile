# Thin front end over the CMake presets; see README.md.
# JOBS: build and test parallelism (default: the machine's processors).
# WERROR=ON turns compiler warnings into errors (CI sets it).
.PHONY: all deps build demo test asan bench release install package fuzz mutants coverage format clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# PREFIX: where `make install` puts the release build.
PREFIX ?= /usr/local
WERROR ?= OFF
CONFIGURE = -DZARN_WERROR=$(WERROR)

all: build

deps:
	@bash scripts/deps.sh

build: deps
	cmake --preset dev $(CONFIGURE) >/dev/null
	cmake --build --preset dev --parallel $(JOBS)

# Only the library and the example programs, then runs them; ninja's status
# line, prefixed "demo", shows how far the build is.
demo: deps
	cmake --preset dev $(CONFIGURE) >/dev/null
	@echo "demo: building the library and the example programs (the tests are not built)"
	NINJA_STATUS="demo [%f/%t] " cmake --build --preset dev --parallel $(JOBS) --target demo

test: build
	ctest --preset dev -j$(JOBS)

asan: deps
	cmake --preset asan $(CONFIGURE) >/dev/null
	cmake --build --preset asan --parallel $(JOBS)
	ctest --preset asan -j$(JOBS)

bench: build
	cmake --build --preset dev --parallel $(JOBS) --target bench

release: deps
	cmake --preset release $(CONFIGURE) >/dev/null
	cmake --build --preset release --parallel $(JOBS)

# The release build installed into PREFIX: the library with its soname,
# headers and Fortran module, CMake and pkg-config files, zarn (docs/install.md).
install: release
	cmake --install build/release --prefix $(PREFIX)

# A Debian package of the release build (CPack), written to build/release.
package: release
	cmake --build --preset release --target package

fuzz: deps
	cmake --preset fuzz $(CONFIGURE) >/dev/null
	cmake --build --preset fuzz --parallel $(JOBS)

# Plants every catalogued fault (scripts/mutants/*.txt) in a scratch copy and reports
# which ones no test catches; a developer tool, not part of test or CI.
# Extra options: make mutants MUTANTS_ARGS="--module rtuom --full"; random faults
# instead of the catalogue: make mutants MUTANTS_ARGS="--sample 150 --seed 7"
mutants: deps
	python3 scripts/mutants.py --jobs $(JOBS) $(MUTANTS_ARGS)

# Line and branch coverage per module (gcovr); every line in build/coverage/html/index.html.
coverage: deps
	cmake --preset coverage $(CONFIGURE) >/dev/null
	cmake --build --preset coverage --parallel $(JOBS)
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage -j$(JOBS)
	python3 scripts/coverage.py --jobs $(JOBS)

# Formats every hand-written C and C++ file with the root .clang-format (CI checks it).
format: deps
	python3 scripts/format.py --fix

clean:
	rm -rf build
