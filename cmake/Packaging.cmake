# What `cmake --install` puts where, and the Debian package CPack builds of it.
#   cmake --install build --prefix ~/.local --strip
#   cpack --config build/CPackConfig.cmake -G DEB

# Installing and packing take what is built and build nothing themselves, so
# the package test stays cheap.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

# The tools come and go with their folders.
foreach(tool velmora-devsim pcdtool)
    if(TARGET ${tool})
        install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

# The configurator looks for its translation in ../share/velmora/translations
# from its own folder.
install(FILES ${CMAKE_BINARY_DIR}/bin/tb_client_ru.qm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora/translations)

target_compile_definitions(velmora-configurator PRIVATE VELMORA_VERSION="${PROJECT_VERSION}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora-configurator)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora developers <developers@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "set up and watch a Velmora stereo-camera passenger counter")
set(CPACK_PACKAGE_DESCRIPTION
    "The desktop tool with which a technician connects to a Velmora counting device over TCP, \
watches its live door pictures and counts, draws the counting line and zone, edits the mount \
options, reads the stored statistics and XML reports, and sets the device's network, modem, \
server, software and system-unit settings. Comes with the device simulator velmora-devsim and \
the distribution file tool pcdtool.")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The run-time packages of the libraries the programs link (dpkg -S on each
# NEEDED entry); tests/release checks that none is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, \
libqt5core5a (>= 5.15), libqt5gui5 (>= 5.15) | libqt5gui5-gles (>= 5.15), \
libqt5widgets5 (>= 5.15), libqt5network5 (>= 5.15), libqt5xml5 (>= 5.15), \
libopencv-core406, libopencv-imgcodecs406, libturbojpeg0, zlib1g")
# Qt's own dialogs in the Russian interface (qtbase_ru.qm); without it they
# stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qttranslations5-l10n")
include(CPack)
