# Settings for the Windows build: a static executable that needs no DLL beside it,
# and a Wine wrapper so that ctest runs the Windows tests in a private prefix.

enable_language(RC)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

# Static zlib for the target; linked by path so zlib1.dll is never needed.
set(TALLYGLASS_WINDOWS_ZLIB /usr/x86_64-w64-mingw32/lib/libz.a)

set(WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
find_program(WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
find_program(WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# The prefix must exist before the first test discovery: creating it takes longer
# than a discovery time-out allows.
configure_file(${CMAKE_SOURCE_DIR}/cmake/make-wineprefix.sh.in ${CMAKE_BINARY_DIR}/make-wineprefix @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
add_custom_command(
  OUTPUT ${WINE_PREFIX}/system.reg
  COMMAND ${CMAKE_BINARY_DIR}/make-wineprefix
  COMMENT "Creating the private Wine prefix")
add_custom_target(wineprefix ALL DEPENDS ${WINE_PREFIX}/system.reg)

# GoogleTest for the target, from Debian's sources.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# It defines the GTest:: targets itself.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The About dialog shows the date of the image header's link time stamp. The
# linker takes the stamp from SOURCE_DATE_EPOCH when that is set: the release
# time of this version, 22 March 2006 16:23:48 UTC, so every build of the same
# version tells the same date whenever it was made.
set(TALLYGLASS_LINK_TIME 1143044628)
function(tallyglass_stamp_link_time target)
  target_link_options(${target} PRIVATE -Wl,--insert-timestamp)
  set_target_properties(${target} PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${TALLYGLASS_LINK_TIME}")
endfunction()
