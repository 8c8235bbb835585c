# Thin front end over the CMake presets; see README.md.
.PHONY: all deps build demo test asan bench release fuzz mutants clean

all: build

deps:
	@bash scripts/deps.sh

build: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev

demo: build
	cmake --build --preset dev --target demo

test: build
	ctest --preset dev

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

bench: build
	cmake --build --preset dev --target bench

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz

clean:
	rm -rf build

# Plants every catalogued fault (scripts/mutants/*.txt) in a scratch copy and reports
# which ones no test catches; a developer tool, not part of test or CI.
# Extra options: make mutants MUTANTS_ARGS="--module rtuom --full"
mutants: build
	python3 scripts/mutants.py $(MUTANTS_ARGS)
