# Zelvane: the two commands of the quick start, and a few more for development.
#   make run    install what is missing, build, start the program under Wine
#   make test   build everything and run every test (native and under Wine)
SHELL := /bin/bash

.PHONY: run test build bench clean format

run:
	@bash scripts/run.sh

test:
	@bash scripts/test.sh

build:
	@bash scripts/build.sh

bench:
	@bash scripts/build.sh && bash bench/all.sh

format:
	@clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'fuzz/*.cpp' 'bench/*.cpp')

clean:
	rm -rf build out
