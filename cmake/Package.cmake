# The add-on as the phone installs it: a Debian package in the device's layout, staged and built with dpkg-deb.
#
#   /Library/MobileSubstrate/DynamicLibraries/Vantile.dylib    the tweak library (libVantile.so)
#   /Library/MobileSubstrate/DynamicLibraries/Vantile.plist    its loader filter
#   /Library/Application Support/Vantile.bundle/               localizations and the generated Assets/
#   /Library/PreferenceBundles/VantilePrefs.bundle/            VantilePrefs (libVantilePrefs.so), Info.plist, icon
#   /Library/PreferenceLoader/Preferences/VantilePrefs.plist   the pane entry of the Settings root list
#
# The package lands in the build folder as Vantile.deb, where the simulator looks for it.
find_program(DPKG_DEB dpkg-deb REQUIRED)
set(VANTILE_PACKAGE_VERSION "1.0.0" CACHE STRING "Version in the add-on package's control file")
set(VANTILE_PACKAGE ${CMAKE_BINARY_DIR}/Vantile.deb)

file(GLOB_RECURSE packaged_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/* ${CMAKE_SOURCE_DIR}/assets/Vantile.bundle/*
     ${CMAKE_SOURCE_DIR}/assets/VantilePrefs.bundle/* ${CMAKE_SOURCE_DIR}/assets/generator/*.tsv)
add_custom_command(
  OUTPUT ${VANTILE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DSTAGE=${CMAKE_BINARY_DIR}/package-stage
          -DDEB=${VANTILE_PACKAGE} -DDPKG_DEB=${DPKG_DEB} -DTWEAK_LIBRARY=$<TARGET_FILE:Vantile>
          -DPREFS_LIBRARY=$<TARGET_FILE:VantilePrefs> -DICON_GENERATOR=$<TARGET_FILE:vantile-icons>
          -DVERSION=${VANTILE_PACKAGE_VERSION} -DLSAN_SUPPRESSIONS=${VANTILE_LSAN_SUPPRESSIONS} -P ${CMAKE_SOURCE_DIR}/cmake/StagePackage.cmake
  DEPENDS Vantile VantilePrefs vantile-icons ${packaged_sources} ${CMAKE_SOURCE_DIR}/cmake/StagePackage.cmake
  COMMENT "Building the add-on package Vantile.deb" VERBATIM)
add_custom_target(vantile_package ALL DEPENDS ${VANTILE_PACKAGE})
add_dependencies(vantile-sim vantile_package)
