# The two commands of a fresh machine: `make demo` and `make test`.
.PHONY: setup native asan win32 win64 build installer test demo bench clean

setup:
	scripts/setup.sh

native: setup
	cmake --preset native
	cmake --build --preset native

# The native tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: setup
	cmake --preset asan
	cmake --build --preset asan

win32: setup
	cmake --preset win32
	cmake --build --preset win32

win64: setup
	cmake --preset win64
	cmake --build --preset win64

build: native asan win32 win64

# The Windows installer of both builds: build/installer/kvsc_a3-setup.exe.
installer: win32 win64
	mkdir -p build/installer
	makensis -V2 -WX -DWIN32_FILES=$(CURDIR)/build/win32/installer-files \
	  -DWIN64_FILES=$(CURDIR)/build/win64/installer-files \
	  -DOUTFILE=$(CURDIR)/build/installer/kvsc_a3-setup.exe installer/kvsc_a3.nsi

# The include check of the layering (docs/ARCHITECTURE.md) and its own test,
# the native tests (also under the sanitizers), then the Wine tests of the
# 64-bit build and, where this machine runs 32-bit programs, of the 32-bit
# build and the installer.
test: build installer
	scripts/check-layers
	bash tests/check_layers_test.sh
	ctest --preset native
	ctest --preset asan
	scripts/test-windows

# A colour scan of the simulated scanner's bed (8.5 x 11 inches at 150 dpi,
# memory transfer) as BMP and PNG, with the 32-bit build where it runs, else
# the 64-bit one (scripts/twscan says which).
demo: setup
	scripts/twscan --list
	mkdir -p build/demo
	scripts/twscan --mode color --dpi 150 --xfer memory --area 0,0,8.5,11 --out build/demo/scan.bmp
	convert build/demo/scan.bmp build/demo/scan.png
	@echo "The scan: $(CURDIR)/build/demo/scan.bmp, and as PNG: $(CURDIR)/build/demo/scan.png"

# Every benchmark, native and under Wine; the figures of docs/PERFORMANCE.md.
bench:
	scripts/bench

clean:
	rm -rf build
