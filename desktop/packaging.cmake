# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (cpack -G DEB, or the `package` target): everything that
# `cmake --install` puts in place, below /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vargorin)
set(CPACK_PACKAGE_VENDOR Pellimor)
set(CPACK_PACKAGE_CONTACT "Pellimor <pellimor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for the complete poems of the poet Vargorin")
set(CPACK_PACKAGE_DESCRIPTION
"A desktop reader for the complete poems of the poet Vargorin, with a
Hungarian user interface. The poems travel inside the program as an SQLite
database. It lists every title, searches titles, dates and texts, and shows
each poem in a window of its own with first, previous, next and last
buttons.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Whatever the builder's umask, folders in the package are the usual 0755.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; what the reader needs at run time that no
# link shows: the Tahoma-metric fonts, Qt's own translations for the standard
# buttons, and the desktop's opener for the about page's links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, qt6-translations-l10n, xdg-utils")
# Qt's Wayland plugin makes the reader a native program in a Wayland session
# (sharp text at fractional scales); without it the reader still runs there
# through XWayland, and an X11 desktop never needs it, so it is recommended,
# which apt installs by default, rather than required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
