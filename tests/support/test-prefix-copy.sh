# Sourced by the tests that need a Wine prefix of their own.
#
# copy_test_prefix BUILD_DIR NAME WINESERVER: copies the build's shared test
# prefix to BUILD_DIR/NAME and exports WINEPREFIX (with Wine kept quiet) for
# it. The shared prefix is copied only once its server has saved the registry
# and gone: a server still running writes reg*.tmp files that vanish mid-copy.
# The calling test runs alone (RUN_SERIAL), so no other test starts that
# server again meanwhile.
copy_test_prefix() {
  WINEPREFIX="$1/wineprefix" "$3" -w
  export WINEPREFIX="$1/$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  rm -rf "$WINEPREFIX"
  cp -a "$1/wineprefix" "$WINEPREFIX"
}
