# The LV2 bundle ${CMAKE_BINARY_DIR}/Vibrascend.lv2 (not on Windows): its Turtle files, written at
# build time by vibrascend-lv2-turtle from the effect's parameters and presets, beside the plug-in
# binary Vibrascend.so that the target Vibrascend_lv2 builds there. The target Vibrascend.lv2
# makes the whole bundle; the files are written again whenever the generator changes (the
# generator links the effect, so a change of a parameter or a preset rebuilds it) or the
# plug-in URI does.
set(VIBRASCEND_LV2_TURTLE
  ${VIBRASCEND_LV2_BUNDLE_DIR}/manifest.ttl
  ${VIBRASCEND_LV2_BUNDLE_DIR}/Vibrascend.ttl
  ${VIBRASCEND_LV2_BUNDLE_DIR}/presets.ttl)
set(lv2_settings ${CMAKE_BINARY_DIR}/lv2turtle-settings.txt)
file(CONFIGURE OUTPUT ${lv2_settings} CONTENT "uri=${VIBRASCEND_PLUGIN_URL}\nversion=${PROJECT_VERSION}\n")
add_custom_command(OUTPUT ${VIBRASCEND_LV2_TURTLE}
  COMMAND vibrascend-lv2-turtle ${VIBRASCEND_LV2_BUNDLE_DIR} --uri ${VIBRASCEND_PLUGIN_URL}
          --binary Vibrascend.so --version ${PROJECT_VERSION}
  DEPENDS vibrascend-lv2-turtle ${lv2_settings}
  COMMENT "Writing the LV2 bundle's Turtle files into ${VIBRASCEND_LV2_BUNDLE_DIR}"
  VERBATIM)
add_custom_target(Vibrascend.lv2 ALL DEPENDS ${VIBRASCEND_LV2_TURTLE})
add_dependencies(Vibrascend.lv2 Vibrascend_lv2)
