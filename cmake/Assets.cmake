# The installed asset bundles, laid out as on the device below a default device root inside the build tree, so the
# simulator runs without arguments. The simulator copies them from there into any other device root it is given.
#
#   assets/Vantile.bundle       -> <root>/Library/Application Support/Vantile.bundle
#   assets/VantilePrefs.bundle  -> <root>/Library/PreferenceBundles/VantilePrefs.bundle
set(VANTILE_DEVICE_ROOT ${CMAKE_BINARY_DIR}/device)

set(asset_outputs)
foreach(pair "Vantile.bundle|Library/Application Support" "VantilePrefs.bundle|Library/PreferenceBundles")
  string(REPLACE "|" ";" fields "${pair}")
  list(GET fields 0 bundle)
  list(GET fields 1 dest)
  if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/assets/${bundle})
    continue()
  endif()
  file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/assets/${bundle}
       ${CMAKE_SOURCE_DIR}/assets/${bundle}/*)
  foreach(f IN LISTS files)
    set(out "${VANTILE_DEVICE_ROOT}/${dest}/${bundle}/${f}")
    add_custom_command(OUTPUT "${out}"
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different "${CMAKE_SOURCE_DIR}/assets/${bundle}/${f}" "${out}"
                       DEPENDS "${CMAKE_SOURCE_DIR}/assets/${bundle}/${f}" VERBATIM)
    list(APPEND asset_outputs "${out}")
  endforeach()
endforeach()

add_custom_target(vantile_assets ALL DEPENDS ${asset_outputs})
add_dependencies(vantile-sim vantile_assets)
target_compile_definitions(vantile-sim PRIVATE VANTILE_DEVICE_ROOT="${VANTILE_DEVICE_ROOT}")
