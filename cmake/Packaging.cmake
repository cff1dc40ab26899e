# The Debian package of the whole installed tree: `cpack -G DEB` in the build folder makes
# tonquill_<version>_amd64.deb. Its dependencies are the libraries' packages, found by
# dpkg-shlibdeps, fontconfig, whose trigger refreshes the font cache when the tone font comes or
# goes, DejaVu Serif, in which "Export as PDF…" draws standard pinyin, and the package of the
# captions' font, Liberation Sans (TONQUILL_UI_FONT_PACKAGE, set at the top).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tonquill)
set(CPACK_PACKAGE_VENDOR "The Tonquill developers")
set(CPACK_PACKAGE_CONTACT "Tonquill developers <vantor@marrowfen.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Chinese pinyin with tone marks")
# CPack puts the summary in front of this text and marks the blank line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tonquill is a small desktop editor for writing Chinese pinyin. Type a vowel
followed by a tone number from 1 to 4, and a moment later the two characters
become one vowel with its tone mark: typing Ni3 ha3o gives Nǐ hǎo.

The tone letters are drawn by Tonquill's own font, Vantor's PinYin Serif,
which this package installs for every program on the machine. The text can
also be copied as standard Unicode pinyin, and printed.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-dejavu-core, ${TONQUILL_UI_FONT_PACKAGE}")
include(CPack)
