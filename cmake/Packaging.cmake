# The packages made from a build tree with cpack (run in the build folder):
#   Linux:   cpack -G DEB   vibrascend_<version>_amd64.deb, installing under /usr (the VST3 bundle
#                           in lib/vst3, the LV2 bundle in lib/lv2)
#            cpack -G TGZ   vibrascend-<version>-linux-x86_64.tar.gz, the same tree under one folder
# and, for the Windows build, the targets vibrascend_installer (an NSIS setup program) and
# vibrascend_zip (the bundle alone).
set(CPACK_PACKAGE_NAME vibrascend)
set(CPACK_PACKAGE_VENDOR Tolmira)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(VIBRASCEND_MAINTAINER "Tolmira <vibrascend@tolmira.example>" CACHE STRING "Maintainer named in the packages")
set(CPACK_PACKAGE_CONTACT ${VIBRASCEND_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "band-split audio effect plug-in (VST3, LV2) with two LFOs")
set(CPACK_PACKAGE_DESCRIPTION
"Vibrascend splits a stereo signal with a resonant low-pass filter into a low
and a high band, weights the two bands and their sum, and lets two oscillators
of nine wave shapes, three of them built on the golden section, sweep any of
those gains. 116 presets set the first oscillator to named
frequencies, from brain-wave rates to Schumann resonances and Solfeggio tones.
.
The package holds the VST3 bundle, which hosts find in /usr/lib/vst3, the LV2
bundle, which hosts find in /usr/lib/lv2, and the command-line host
vibrascend-render, which renders audio files through the VST3 bundle.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/CPackGenerators.cmake)
set(VIBRASCEND_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# Read by the generator settings file when cpack runs.
set(CPACK_VIBRASCEND_HOMEPAGE ${VIBRASCEND_PLUGIN_URL})

if(NOT WIN32)
  # The Debian changelog's newest entry must be this version.
  file(STRINGS ${VIBRASCEND_PACKAGING_DIR}/debian/changelog newest LIMIT_COUNT 1)
  if(NOT newest MATCHES "^vibrascend \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog starts with \"${newest}\", not version ${PROJECT_VERSION}")
  endif()
  set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
  add_custom_command(OUTPUT ${changelog}
    COMMAND gzip -9 -n -c ${VIBRASCEND_PACKAGING_DIR}/debian/changelog > ${changelog}
    DEPENDS ${VIBRASCEND_PACKAGING_DIR}/debian/changelog
    VERBATIM)
  add_custom_target(vibrascend_changelog ALL DEPENDS ${changelog})
  install(FILES ${VIBRASCEND_PACKAGING_DIR}/debian/copyright ${changelog}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vibrascend COMPONENT vst3)
  set(CPACK_GENERATOR DEB TGZ)
  include(CPack)
else()
  include(cmake/WindowsInstaller.cmake)
endif()
