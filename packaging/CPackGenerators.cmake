# What each package generator makes of the install tree; cpack reads this once per generator.
if(CPACK_GENERATOR STREQUAL "DEB")
  # Everything under /usr; dependencies from the libraries the binaries load.
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CPACK_VIBRASCEND_HOMEPAGE})
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  # One folder holding lib/vst3, lib/lv2, bin and share, for any distribution.
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-linux-x86_64)
endif()
