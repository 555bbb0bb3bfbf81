# SPDX-License-Identifier: GPL-3.0-or-later
# CPack: a Debian package of everything cmake/install.cmake installs.
#   cpack -G DEB --config build/CPackConfig.cmake   ->  edt-editor_1.0.1_amd64.deb
set(CPACK_PACKAGE_NAME edt-editor)
set(CPACK_PACKAGE_VENDOR "The EDT editor developers")
set(CPACK_PACKAGE_CONTACT ${EDT_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the texts of Zelvar's EDT files")
set(CPACK_PACKAGE_DESCRIPTION
    "An editor for the text files (EDT files) of the game Zelvar, for modders and\n"
    "translators: it lists every record's text with its byte position and writes an\n"
    "edited text back in place without disturbing any other byte of the file. Also\n"
    "contains edt-tool, which lists and writes texts from the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${EDT_HOMEPAGE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) finds the libraries the programs link: libc6, libstdc++6
# and, with the editor, the Qt libraries it calls. What Qt loads at run time it cannot
# see: the X11 platform plugin (in libqt6gui6 on Debian 12; Wayland's is in
# qt6-wayland) and the fonts the window asks for ("Arial" is Liberation Sans).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(EDT_DEB_DEPENDS fonts-liberation)
if(TARGET edt-editor)
  list(APPEND EDT_DEB_DEPENDS libqt6gui6)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()
list(JOIN EDT_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

include(CPack)
