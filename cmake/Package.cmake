# The release people download: `cmake --build --preset windows --target package`
# makes tallyglass-<version>-win64.zip with CPack. It holds the stripped
# programs and a short read-me; the report tool comes along once its target
# exists. Included after every subdirectory, so that every target is known.

# A stripped copy of a program, made with every build and packed. strip
# writes the image header anew and stamps it with the time of stripping
# unless SOURCE_DATE_EPOCH says otherwise; the About dialog shows that stamp
# as the link date, so it keeps the release time the linker wrote.
function(tallyglass_package_program target)
  set(stripped ${PROJECT_BINARY_DIR}/package/${target}.exe)
  add_custom_command(
    OUTPUT ${stripped}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TALLYGLASS_LINK_TIME}
            ${CMAKE_STRIP} -o ${stripped} $<TARGET_FILE:${target}>
    DEPENDS ${target}
    COMMENT "Stripping ${target}.exe for the release package")
  add_custom_target(${target}-stripped ALL DEPENDS ${stripped})
  install(PROGRAMS ${stripped} DESTINATION .)
endfunction()

tallyglass_package_program(tallyglass)
set(TALLYGLASS_PACKAGE_CONTENTS README.txt tallyglass.exe)
set(TALLYGLASS_PACKAGE_FILE_LIST "  tallyglass.exe          the viewer: start it, nothing to install\r\n")
if(TARGET tallyglass-report)
  tallyglass_package_program(tallyglass-report)
  list(APPEND TALLYGLASS_PACKAGE_CONTENTS tallyglass-report.exe)
  string(APPEND TALLYGLASS_PACKAGE_FILE_LIST
         "  tallyglass-report.exe   the same records on the command line, as a table, CSV or JSON\r\n")
endif()

# A read-me for Windows users: CRLF line ends.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${PROJECT_BINARY_DIR}/package/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/package/README.txt DESTINATION .)

# What the zip must hold, one name a line, for the test that unpacks it.
list(SORT TALLYGLASS_PACKAGE_CONTENTS)
list(JOIN TALLYGLASS_PACKAGE_CONTENTS "\n" contents)
file(WRITE ${PROJECT_BINARY_DIR}/package/contents.txt "${contents}\n")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME "Tallyglass Viewer")
set(CPACK_PACKAGE_VENDOR "Fernwick Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "tallyglass-${PROJECT_VERSION}-win64")
include(CPack)
