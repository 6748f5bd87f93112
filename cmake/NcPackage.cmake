# The Debian package: `cpack -G DEB` in the build folder makes nutricounsel_<version>_<arch>.deb from
# the install rules. Installed with `apt install ./<file>.deb`; removing it never touches the
# counsellors' data folders (~/.local/share/nutricounsel), which the package does not own.

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "nutricounsel")
set(CPACK_PACKAGE_CONTACT "nutricounsel maintainers <nutricounsel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Dietary counselling for women of childbearing age, pregnant women and nursing mothers")
set(CPACK_PACKAGE_DESCRIPTION
    "女性膳食营养咨询系统: personal record and physique evaluation, diet record, analysis of fourteen nutrients with printed reports, and the food-composition table, in one encrypted database per user.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the program links (C++ runtime, Qt, SQLCipher) are found by dpkg-shlibdeps;
# what it cannot see is listed: the Qt platform plugins, the Chinese fonts for every window and
# report, and Qt's own Chinese translations for the standard dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6charts6 (>= 6.4), qt6-qpa-plugins, libsqlcipher0, fonts-noto-cjk, qt6-translations-l10n")

include(CPack)
