# What an install puts where: the program, its desktop entry and icon, and
# the README with its pictures; and the Debian package built from the same install.
include(GNUInstallDirs)
install(TARGETS cadenzo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES assets/cadenzo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES assets/cadenzo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
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
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the program links (Qt, RtMidi, JACK, libjpeg) as the system's
# own tools find them in the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fluidsynth, fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2")
include(CPack)
