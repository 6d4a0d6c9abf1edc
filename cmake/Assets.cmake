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

# The images are drawn at build time by the icon generator, never copied from anywhere: one run per table, each
# writing its icons at 1x, 2x and 3x. A table the tree does not have yet is left out.
add_library(icon_generator STATIC ${CMAKE_SOURCE_DIR}/assets/generator/IconTable.cpp
            ${CMAKE_SOURCE_DIR}/assets/generator/IconPainter.cpp)
target_include_directories(icon_generator PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(icon_generator PUBLIC platform)
add_executable(vantile-icons ${CMAKE_SOURCE_DIR}/assets/generator/main.cpp
               ${CMAKE_SOURCE_DIR}/tweak/cards/VantileCatalogue.cpp)
target_link_libraries(vantile-icons PRIVATE icon_generator common)

set(VANTILE_TWEAK_ASSETS "${VANTILE_DEVICE_ROOT}/Library/Application Support/Vantile.bundle/Assets")
set(VANTILE_SETTINGS_APP "${VANTILE_DEVICE_ROOT}/Applications/Preferences.app")
# Under the sanitizers the generator runs sanitized too; the font libraries' process-wide caches are not its leaks.
set(VANTILE_TOOL_ENV)
if(VANTILE_SANITIZE)
  set(VANTILE_LSAN_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/tests/sanitizer/lsan.supp)
  set(VANTILE_TOOL_ENV ${CMAKE_COMMAND} -E env LSAN_OPTIONS=suppressions=${VANTILE_LSAN_SUPPRESSIONS})
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/icons)
set(icon_stamps)
foreach(run "tweak-icons|${CMAKE_SOURCE_DIR}/assets/generator/tweak-icons.tsv|${VANTILE_TWEAK_ASSETS}|60|--catalogue"
            "prefs-icons|${CMAKE_SOURCE_DIR}/assets/generator/prefs-icons.tsv|${VANTILE_DEVICE_ROOT}/Library/PreferenceBundles/VantilePrefs.bundle|29|"
            "app-icons|${CMAKE_SOURCE_DIR}/assets/generator/app-icons.tsv|${VANTILE_DEVICE_ROOT}|60|"
            "settings-pages|${CMAKE_SOURCE_DIR}/assets/icons/settings-pages.tsv|${VANTILE_SETTINGS_APP}|29|")
  string(REPLACE "|" ";" fields "${run}")
  list(GET fields 0 name)
  list(GET fields 1 table)
  list(GET fields 2 outdir)
  list(GET fields 3 points)
  list(GET fields 4 flags)
  if(NOT EXISTS "${table}")
    continue()
  endif()
  set(stamp "${CMAKE_BINARY_DIR}/icons/${name}.stamp")
  add_custom_command(OUTPUT "${stamp}"
                     COMMAND ${VANTILE_TOOL_ENV} $<TARGET_FILE:vantile-icons> "${table}" "${outdir}" ${points} ${flags}
                     COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
                     DEPENDS vantile-icons "${table}"
                     COMMENT "Drawing the ${name} icons" VERBATIM)
  list(APPEND icon_stamps "${stamp}")
endforeach()

add_custom_target(vantile_assets ALL DEPENDS ${asset_outputs} ${icon_stamps})
add_dependencies(vantile-sim vantile_assets)
target_compile_definitions(vantile-sim PRIVATE VANTILE_DEVICE_ROOT="${VANTILE_DEVICE_ROOT}")

# The simulated phone's camera roll, painted and encoded at build time (pictures in JPEG, PNG and GIF and a
# one-second movie), below the default device root; the simulator copies it into any other device root.
set(VANTILE_PHOTO_LIBRARY "${VANTILE_DEVICE_ROOT}/var/mobile/Media/DCIM/100APPLE")
add_executable(vantile-media ${CMAKE_SOURCE_DIR}/assets/media/main.cpp)
target_include_directories(vantile-media PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vantile-media PRIVATE platform GIF::GIF)
set(media_stamp "${CMAKE_BINARY_DIR}/icons/photo-library.stamp")
add_custom_command(OUTPUT "${media_stamp}"
                   COMMAND ${VANTILE_TOOL_ENV} $<TARGET_FILE:vantile-media> "${VANTILE_PHOTO_LIBRARY}"
                   COMMAND ${CMAKE_COMMAND} -E touch "${media_stamp}"
                   DEPENDS vantile-media
                   COMMENT "Painting the photo library" VERBATIM)
add_custom_target(vantile_media ALL DEPENDS "${media_stamp}")
add_dependencies(vantile_assets vantile_media)
