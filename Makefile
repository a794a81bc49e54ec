# The two commands of a fresh machine: `make demo` and `make test`.
.PHONY: setup native win32 build test demo clean

setup:
	scripts/setup.sh

native: setup
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

build: native win32

test: build
	ctest --preset native
	xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win32 -j3

demo: win32
	scripts/twscan --list
	scripts/twscan --info

clean:
	rm -rf build
