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
# What dpkg-shlibdeps cannot see from the program's links: the Qt platform plugins, the Chinese fonts
# for every window and report, and Qt's own Chinese translations for the standard dialogs. The
# shared libraries (C++ runtime, Qt, SQLCipher, ICU) come from dpkg-shlibdeps where it is installed, else
# from the list below.
set(nc_runtime_packages "qt6-qpa-plugins, fonts-noto-cjk, qt6-translations-l10n")
find_program(NC_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NC_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${nc_runtime_packages}")
else()
  # ICU's run-time package is named by its major version (libicu72).
  string(REGEX MATCH "^[0-9]+" nc_icu_major "${ICU_icu-uc_VERSION}")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6charts6 (>= 6.4), libsqlcipher0, libicu${nc_icu_major}, ${nc_runtime_packages}")
endif()

include(CPack)
