# Helpers shared by the scripts that run Windows programs under Wine.

# Wine settings for every run: our own 32-bit prefix, quiet, our source
# manager instead of Wine's built-in one, no .NET or browser installers.
wine_env() {
  export WINEPREFIX=$1 WINEARCH=win32
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="twain_32=n;mscoree,mshtml="
}

# copy_prefix TEMPLATE DEST: a cheap copy of a prefix. Most files are hard
# links to the template; the files Wine rewrites in place (registry, WIN.INI,
# SYSTEM.INI) and the installed libraries with their INI files are real copies,
# so nothing a run writes reaches the template.
copy_prefix() {
  local template=$1 dest=$2 f
  rm -rf "$dest"
  cp -al "$template" "$dest"
  for f in system.reg user.reg userdef.reg drive_c/windows/win.ini drive_c/windows/system.ini; do
    [ -f "$template/$f" ] && cp --remove-destination "$template/$f" "$dest/$f"
  done
  rm -rf "$dest/drive_c/windows/twain_32"
  cp -a "$template/drive_c/windows/twain_32" "$dest/drive_c/windows/twain_32"
}

# run_wine PROGRAM ARGS...: runs a Windows program and waits until the
# prefix's Wine processes have ended. Without a display the run gets its own
# virtual X server, which lives until Wine is done with it.
run_wine() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'wine "$@"; rc=$?; wineserver -w; exit $rc' run_wine "$@"
  else
    local rc=0
    wine "$@" || rc=$?
    wineserver -w
    return $rc
  fi
}
