# Where `cmake --install` puts each file (GNU layout under CMAKE_INSTALL_PREFIX), in components
# that install alone:
#   vst3       the bundle, into lib/vst3, the folder Linux hosts search under /usr and /usr/local
#              (on Windows at the prefix itself, which is then the VST3 folder)
#   lv2        the LV2 bundle ${CMAKE_BINARY_DIR}/Vibrascend.lv2 (Linux: the module Vibrascend_lv2
#              and the Turtle files cmake/Lv2Bundle.cmake writes), into lib/lv2
#   tools      vibrascend-render into bin, its manual page into share/man/man1
#   vst3-user  the bundle alone at the prefix, left out of a full install: a user's own plug-in
#              folder, `cmake --install build --component vst3-user --prefix ~/.vst3`
#   lv2-user   the LV2 bundle alone at the prefix, left out of a full install:
#              `cmake --install build --component lv2-user --prefix ~/.lv2`
include(GNUInstallDirs)
if(WIN32)
  set(vst3_dir .)
else()
  set(vst3_dir lib/vst3)
endif()
set(VIBRASCEND_INSTALL_VST3DIR ${vst3_dir} CACHE STRING "Folder under the prefix that receives the VST3 bundle")
set(VIBRASCEND_INSTALL_LV2DIR lib/lv2 CACHE STRING "Folder under the prefix that receives the LV2 bundle")

# The library as a target (so that installing with --strip, and the packages, strip it), the rest
# of the bundle as it was built.
get_filename_component(architecture ${VIBRASCEND_BUNDLE_LIBRARY_DIR} NAME)
foreach(component vst3 vst3-user)
  if(component STREQUAL vst3)
    set(bundle ${VIBRASCEND_INSTALL_VST3DIR}/Vibrascend.vst3)
    set(optional "")
  else()
    set(bundle Vibrascend.vst3)
    set(optional EXCLUDE_FROM_ALL)
  endif()
  install(TARGETS Vibrascend LIBRARY DESTINATION ${bundle}/Contents/${architecture} COMPONENT ${component} ${optional})
  install(DIRECTORY ${VIBRASCEND_BUNDLE_DIR}/ DESTINATION ${bundle} COMPONENT ${component} ${optional}
          USE_SOURCE_PERMISSIONS PATTERN ${architecture} EXCLUDE)
endforeach()
# The LV2 bundle: its library as a target (stripped with the rest), the Turtle files beside it as
# they were built.
if(TARGET Vibrascend_lv2)
  foreach(component lv2 lv2-user)
    if(component STREQUAL lv2)
      set(bundle ${VIBRASCEND_INSTALL_LV2DIR}/Vibrascend.lv2)
      set(optional "")
    else()
      set(bundle Vibrascend.lv2)
      set(optional EXCLUDE_FROM_ALL)
    endif()
    install(TARGETS Vibrascend_lv2 LIBRARY DESTINATION ${bundle} COMPONENT ${component} ${optional})
    install(DIRECTORY ${VIBRASCEND_LV2_BUNDLE_DIR}/ DESTINATION ${bundle} COMPONENT ${component} ${optional}
            USE_SOURCE_PERMISSIONS PATTERN Vibrascend.so EXCLUDE)
  endforeach()
endif()

install(TARGETS vibrascend-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
if(NOT WIN32)
  # Manual pages are installed compressed, without a time stamp, so that builds are reproducible.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/vibrascend-render.1.in ${CMAKE_BINARY_DIR}/vibrascend-render.1 @ONLY)
  set(manual ${CMAKE_BINARY_DIR}/vibrascend-render.1.gz)
  add_custom_command(OUTPUT ${manual}
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/vibrascend-render.1 > ${manual}
    DEPENDS ${CMAKE_BINARY_DIR}/vibrascend-render.1
    VERBATIM)
  add_custom_target(vibrascend_manual ALL DEPENDS ${manual})
  install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
endif()
