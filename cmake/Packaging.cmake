# What `cmake --install` puts on a system, and the Debian package cpack makes of it.
include(GNUInstallDirs)

# Directories 0755 whatever the umask, as Debian expects.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(VEXLOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vexlor)
set(VEXLOR_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(VEXLOR_GENERATED ${PROJECT_BINARY_DIR}/packaging)
# The date the manual pages carry: the release in packaging/changelog, not the build.
set(VEXLOR_RELEASE_EPOCH 1796774400)

install(TARGETS vexlor vexlor-sim vexlor-remote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VEXLOR_PACKAGING}/vexlor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VEXLOR_PACKAGING}/org.vexlor.Vexlor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VEXLOR_PACKAGING}/icons/vexlor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${VEXLOR_PACKAGING}/icons/hicolor/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
# Help opens the installed README, so it stays uncompressed, with the pictures it shows.
install(FILES README.md ${VEXLOR_PACKAGING}/copyright DESTINATION ${VEXLOR_DOC_DIR})
install(DIRECTORY docs/ DESTINATION ${VEXLOR_DOC_DIR}/docs FILES_MATCHING PATTERN "*.png")
install(FILES docs/example-memories.txt DESTINATION ${VEXLOR_DOC_DIR}/examples)

# gzip -n: no name or time stamp inside, so the same tree gives the same package.
function(vexlor_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()

vexlor_gzip(${VEXLOR_PACKAGING}/changelog ${VEXLOR_GENERATED}/changelog.gz)
set(VEXLOR_PACKAGE_FILES ${VEXLOR_GENERATED}/changelog.gz)
install(FILES ${VEXLOR_GENERATED}/changelog.gz DESTINATION ${VEXLOR_DOC_DIR})

# Manual pages made from each program's --help and --version (not from a
# sanitizer build, whose programs are for the tests), with the
# sections --help has no room for.
find_program(HELP2MAN help2man)
if(HELP2MAN AND NOT VEXLOR_SANITIZE)
  foreach(program vexlor vexlor-sim vexlor-remote)
    set(page ${VEXLOR_GENERATED}/${program}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VEXLOR_RELEASE_EPOCH}
              ${HELP2MAN} --no-info --section=1 --include=${VEXLOR_PACKAGING}/man/${program}.h2m
              --output=${page} $<TARGET_FILE:${program}>
      DEPENDS ${program} ${VEXLOR_PACKAGING}/man/${program}.h2m
      VERBATIM)
    vexlor_gzip(${page} ${page}.gz)
    list(APPEND VEXLOR_PACKAGE_FILES ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
else()
  message(WARNING "help2man not found: no manual pages (tools/install-deps.sh installs it)")
endif()
add_custom_target(package_files ALL DEPENDS ${VEXLOR_PACKAGE_FILES})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexlor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vexlor developers")
set(CPACK_PACKAGE_CONTACT "The Vexlor developers <vexlor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor and remote-control a trunk-tracking scanner")
# Lines under 80 columns: cpack copies them into the control file as they stand.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Vexlor drives a BC245XLT trunk-tracking scanner over its serial PC-control"
  "port. It shows live what the receiver hears (mode, frequency, channel and"
  "talkgroup, with the names the operator gave them), reads, edits and writes"
  "back the receiver's channels and talkgroup lists, keeps an activity log and"
  "statistics, and prints the lists. A receiver simulator and a remote client"
  "come with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from what the programs link (dpkg-shlibdeps). Loaded at run
# time, so added by hand: the readout font, and the X11/Wayland plugins without
# which no window opens (libqt6gui6 only recommends them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dseg, qt6-qpa-plugins")
# Playing recordings back goes through GStreamer's FLAC, Ogg/Opus and PulseAudio plugins.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-pulseaudio")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
