# The Windows packages of the cross build, made on Linux:
#   vibrascend_installer  Vibrascend-<version>-win64-setup.exe, built by NSIS (makensis) from
#                         packaging/windows/installer.nsi
#   vibrascend_zip        Vibrascend-<version>-win64.zip, the bundle folder alone
set(VIBRASCEND_SETUP ${CMAKE_BINARY_DIR}/Vibrascend-${PROJECT_VERSION}-win64-setup.exe)
set(VIBRASCEND_ZIP ${CMAKE_BINARY_DIR}/Vibrascend-${PROJECT_VERSION}-win64.zip)
set(bundle_parts Vibrascend vibrascend_bundle_metadata ${VIBRASCEND_BUNDLE_METADATA})

find_program(VIBRASCEND_MAKENSIS makensis)
if(VIBRASCEND_MAKENSIS)
  set(script ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi)
  add_custom_command(OUTPUT ${VIBRASCEND_SETUP}
    COMMAND ${VIBRASCEND_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPUBLISHER=${CPACK_PACKAGE_VENDOR}
            -DURL=${VIBRASCEND_PLUGIN_URL} -DBUNDLE=${VIBRASCEND_BUNDLE_DIR} -DTOOL=$<TARGET_FILE:vibrascend-render>
            -DOUTFILE=${VIBRASCEND_SETUP} ${script}
    DEPENDS ${bundle_parts} vibrascend-render ${script}
    COMMENT "NSIS: ${VIBRASCEND_SETUP}"
    VERBATIM)
  add_custom_target(vibrascend_installer DEPENDS ${VIBRASCEND_SETUP})
else()
  message(STATUS "makensis not found (Debian package nsis): no vibrascend_installer target")
endif()

add_custom_command(OUTPUT ${VIBRASCEND_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VIBRASCEND_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${VIBRASCEND_ZIP} --format=zip Vibrascend.vst3
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${bundle_parts}
  COMMENT "${VIBRASCEND_ZIP}"
  VERBATIM)
add_custom_target(vibrascend_zip DEPENDS ${VIBRASCEND_ZIP})
