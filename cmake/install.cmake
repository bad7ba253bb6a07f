# What an install puts where: the program, its manual page, desktop entry,
# software-centre entry and icon, the README with its pictures and the
# copyright; and the Debian package built from the same install, with its
# changelog and its note to lintian.
include(GNUInstallDirs)
include(cmake/release.cmake)

# The manual page, written from its text and the words --help prints.
add_executable(cadenzo-manual-page app/manual_page_main.cpp)
target_link_libraries(cadenzo-manual-page PRIVATE command_line)
set(manual_page ${CMAKE_CURRENT_BINARY_DIR}/cadenzo.1)
add_custom_command(
  OUTPUT ${manual_page}.gz
  COMMAND cadenzo-manual-page ${CMAKE_CURRENT_SOURCE_DIR}/assets/cadenzo.1.in ${CADENZO_RELEASE_DATE} ${manual_page}
  COMMAND gzip -9nkf ${manual_page}
  DEPENDS cadenzo-manual-page assets/cadenzo.1.in
  COMMENT "Writing the manual page"
  VERBATIM)
add_custom_target(manual_page ALL DEPENDS ${manual_page}.gz)

configure_file(assets/cadenzo.metainfo.xml.in cadenzo.metainfo.xml @ONLY)

install(TARGETS cadenzo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${manual_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES assets/org.example.cadenzo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/cadenzo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES assets/cadenzo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES README.md cmake/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES docs/first_split.png docs/zone_map.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)  # the README's pictures

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cadenzo)
set(CPACK_PACKAGE_CONTACT "Cadenzo developers <cadenzo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "live-performance MIDI controller with layered mixes")
set(CPACK_PACKAGE_DESCRIPTION
    "Plays one or two MIDI keyboards through a bank of 128 mixes of 16 layers\n\
each (zones, splits, transposition, sound, levels, effect sends, voice mode)\n\
into a synthesiser, and is played almost entirely from the computer keyboard.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CADENZO_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the program links (Qt, ALSA, JACK, libjpeg) as the system's
# own tools find them in the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fluidsynth, fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")
set(CPACK_CADENZO_CHANGELOG ${changelog_file})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_files.cmake)
include(CPack)
