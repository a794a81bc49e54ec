# Helpers shared by the scripts that run Windows programs under Wine.

# The 32-bit Wine loader and the 64-bit one. On a kernel that cannot execute
# 32-bit programs the first fails ("Exec format error"); the second works.
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64

# True when this machine runs 32-bit Windows programs: found out by running
# the 32-bit loader, not guessed. KVSC_NO_WIN32=1 makes it say no, to try the
# path of machines that cannot.
win32_runs() {
  [ "${KVSC_NO_WIN32:-0}" != 1 ] && "$WINE32_LOADER" --version >/dev/null 2>&1
}

# The Windows build to run by default: win32 where it runs, else win64.
default_build() {
  if win32_runs; then echo win32; else echo win64; fi
}

# The architecture of an existing prefix, as Wine wrote it into system.reg.
prefix_arch() {
  sed -n 's/^#arch=//p' "$1/system.reg" 2>/dev/null | head -n 1
}

# The folder of the prefix's C:\Windows that holds the TWAIN sources.
sources_folder() {
  if [ "$1" = win64 ]; then echo twain_64; else echo twain_32; fi
}

# wine_env PREFIX [ARCH]: Wine settings for every run: the project's own
# prefix (ARCH win32 or win64; by default what the prefix already is, else
# win32), quiet, our source manager instead of Wine's built-in one, no .NET
# or browser installers. WINE is the loader to run programs with.
wine_env() {
  local arch=${2:-$(prefix_arch "$1")}
  export WINEPREFIX=$1 WINEARCH=${arch:-win32}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="twain_32=n;twaindsm=n;mscoree,mshtml="
  if [ "$WINEARCH" = win64 ]; then
    WINE=$WINE64_LOADER
    export WINELOADER=$WINE64_LOADER
  else
    WINE=wine
  fi
}

# copy_prefix TEMPLATE DEST: a cheap copy of a prefix. Most files are hard
# links to the template; the files Wine rewrites in place (registry, WIN.INI,
# SYSTEM.INI) and the installed libraries with their INI files are real copies,
# so nothing a run writes reaches the template.
copy_prefix() {
  local template=$1 dest=$2 f sources
  sources=$(sources_folder "$(prefix_arch "$template")")
  rm -rf "$dest"
  cp -al "$template" "$dest"
  for f in system.reg user.reg userdef.reg drive_c/windows/win.ini drive_c/windows/system.ini; do
    [ -f "$template/$f" ] && cp --remove-destination "$template/$f" "$dest/$f"
  done
  rm -rf "$dest/drive_c/windows/$sources"
  cp -a "$template/drive_c/windows/$sources" "$dest/drive_c/windows/$sources"
}

# run_wine PROGRAM ARGS...: runs a Windows program with the loader wine_env
# chose and waits until the prefix's Wine processes have ended. Without a
# display the run gets its own virtual X server, which lives until Wine is
# done with it.
run_wine() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '"$0" "$@"; rc=$?; wineserver -w; exit $rc' "$WINE" "$@"
  else
    local rc=0
    "$WINE" "$@" || rc=$?
    wineserver -w
    return $rc
  fi
}
