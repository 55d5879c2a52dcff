# `make package`: a Debian package of the installed files. dpkg-shlibdeps finds the runtime
# packages of the libraries the program links (Qt 6 Core, Gui, Widgets, PrintSupport, libgsf);
# Qt's Gui package also brings the JPEG image plugin and the X11 platform plugin.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fahrtenbuch)
set(CPACK_PACKAGE_VENDOR Tervona)
set(CPACK_PACKAGE_CONTACT "Fahrtenbuch <fahrtenbuch@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fahrtenbuch für ein Fahrzeug und seinen Halter")
set(CPACK_PACKAGE_DESCRIPTION "Führt das Fahrtenbuch eines Fahrzeugs: Fahrten, Vorlagen, \
Stammdaten, Auswertung, Ausdruck und Export als Excel-Datei.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com/fahrtenbuch)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The German texts of Qt's own buttons and dialogs; a font with the metrics of the printout.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
