# A Debian package of the installed tree: the plug-in with its companions in lib/ryvel/, the
# tools in bin/, the man page and the sample. `cpack` (or `cmake --build <dir> --target
# package`) writes ryvel_<version>_<arch>.deb into the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ryvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Veskora")
set(CPACK_PACKAGE_CONTACT "Ryvel maintainers <ryvel@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Russian spell-checking plug-in for translation QA, with the ryvel-qa command-line host")
set(CPACK_PACKAGE_DESCRIPTION
  "Ryvel checks the Russian target text of translation segments with Hunspell, a tokenizer
that keeps tags, numbers, addresses and abbreviations away from the dictionary, and the
user's own word lists. ryvel-qa runs the plug-in over XLIFF, TMX, PO and TSV files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time libraries come from what the binaries really link (dpkg-shlibdeps):
# ICU, Hunspell, Qt, pugixml, libgettextpo and the C++ runtime.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening exported word lists and addendum files with the desktop's programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
