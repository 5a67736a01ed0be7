# The package CPack makes of the install: a .deb on Linux, a zip for Windows.
# Packages land in the build folder's packages/.
set(CPACK_PACKAGE_NAME brimlow)
set(CPACK_PACKAGE_VENDOR "Kelvane")
set(CPACK_PACKAGE_CONTACT "Brimlow developers <brimlow@kelvane.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cleaner of the Tarvolt downloads list")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME brimlow-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_PACKAGE_DESCRIPTION
      "Brimlow opens the downloads list of the download manager Tarvolt, marks
downloads by hand or with a filter, gathers them in a trash and then removes
them from the list, with or without their files, or saves them as a separate
list, after a dated backup copy of the list.  brimlow-cli does the same from
the command line.")
  # The libraries the programs link come from dpkg-shlibdeps; what is loaded
  # at run time is named here: Qt's platform plugins (the window opens on
  # none without them), and the Russian texts of Qt's own dialogs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(TARGET brimlow)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
  endif()
  # Tarvolt itself runs under Wine on Linux.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
endif()

include(CPack)
