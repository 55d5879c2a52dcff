# `make package`: a Debian package of the installed files. dpkg-shlibdeps finds the runtime
# packages of the libraries the program links (Qt 6 Core, Gui, Widgets, PrintSupport, libgsf);
# Qt's Gui package also brings the JPEG image plugin and the X11 platform plugin.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fahrtenbuch)
set(CPACK_PACKAGE_VENDOR Tervona)
set(CPACK_PACKAGE_CONTACT "Fahrtenbuch <fahrtenbuch@example.com>")
# The synopsis must not begin with the package's name, and no line of the description may
# be longer than 80 characters (lintian).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fahrten eines Fahrzeugs für das Finanzamt aufzeichnen")
set(CPACK_PACKAGE_DESCRIPTION "Führt das Fahrtenbuch eines Fahrzeugs und seines Halters, wie
es das Finanzamt erwartet: Abfahrt und Ankunft mit Zeit und Ort, Entfernung,
Fahrtzweck und Art der Fahrt (geschäftlich oder privat). Die Kilometerstände
ergeben sich aus dem Anfangsstand und den Entfernungen. Gelöschte und
geänderte Fahrten bleiben durchgestrichen stehen.

Dazu Vorlagen für wiederkehrende Fahrten, Stammdaten von Halter und Fahrzeug,
eine Auswertung der Kilometer, der Ausdruck des Fahrtenbuchs und der Export
der Fahrten als Excel-Datei (.xls).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com/fahrtenbuch)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The German texts of Qt's own buttons and dialogs; a font with the metrics of the printout.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
set(CPACK_STRIP_FILES ON)
# Debian's hardening: every symbol is bound when the program starts, so that the whole
# relocation table can be made read-only before any input is read.
target_link_options(fahrtenbuch PRIVATE LINKER:-z,relro LINKER:-z,now)
include(CPack)
