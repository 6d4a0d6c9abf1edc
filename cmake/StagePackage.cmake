# Run by cmake -P from Package.cmake: stages the package tree afresh and builds it with dpkg-deb. The package is
# written beside its final name and renamed, so an interrupted build never leaves a half-written Vantile.deb.
cmake_minimum_required(VERSION 3.25)
foreach(var SOURCE_DIR STAGE DEB DPKG_DEB TWEAK_LIBRARY PREFS_LIBRARY ICON_GENERATOR VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "StagePackage.cmake needs -D${var}=...")
  endif()
endforeach()

if(LSAN_SUPPRESSIONS)
  set(ENV{LSAN_OPTIONS} "suppressions=${LSAN_SUPPRESSIONS}")
endif()

file(REMOVE_RECURSE "${STAGE}")
set(libraries "${STAGE}/Library/MobileSubstrate/DynamicLibraries")
set(tweak_bundle "${STAGE}/Library/Application Support/Vantile.bundle")
set(prefs_bundle "${STAGE}/Library/PreferenceBundles/VantilePrefs.bundle")
set(panes "${STAGE}/Library/PreferenceLoader/Preferences")
file(MAKE_DIRECTORY "${libraries}" "${tweak_bundle}" "${prefs_bundle}" "${panes}" "${STAGE}/DEBIAN")

file(COPY_FILE "${TWEAK_LIBRARY}" "${libraries}/Vantile.dylib")
file(COPY_FILE "${SOURCE_DIR}/packaging/Vantile.plist" "${libraries}/Vantile.plist")

file(COPY "${SOURCE_DIR}/assets/Vantile.bundle/" DESTINATION "${tweak_bundle}")
if(IS_DIRECTORY "${SOURCE_DIR}/assets/VantilePrefs.bundle")
  file(COPY "${SOURCE_DIR}/assets/VantilePrefs.bundle/" DESTINATION "${prefs_bundle}")
endif()
file(COPY_FILE "${PREFS_LIBRARY}" "${prefs_bundle}/VantilePrefs")
set(VANTILE_PACKAGE_VERSION "${VERSION}")
configure_file("${SOURCE_DIR}/packaging/VantilePrefs-Info.plist" "${prefs_bundle}/Info.plist" @ONLY)
file(COPY_FILE "${SOURCE_DIR}/packaging/VantilePrefs-entry.plist" "${panes}/VantilePrefs.plist")

foreach(run "tweak-icons.tsv|${tweak_bundle}/Assets|60|--catalogue" "prefs-icons.tsv|${prefs_bundle}|29|")
  string(REPLACE "|" ";" fields "${run}")
  list(GET fields 0 table)
  list(GET fields 1 outdir)
  list(GET fields 2 points)
  list(GET fields 3 flags)
  execute_process(COMMAND "${ICON_GENERATOR}" "${SOURCE_DIR}/assets/generator/${table}" "${outdir}" ${points} ${flags}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the icon generator failed on ${table}")
  endif()
endforeach()

# Installed-Size is in KiB, as dpkg counts it.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${STAGE}/Library/*")
set(bytes 0)
foreach(f IN LISTS staged)
  file(SIZE "${f}" size)
  math(EXPR bytes "${bytes} + ${size}")
endforeach()
math(EXPR VANTILE_INSTALLED_SIZE "(${bytes} + 1023) / 1024")
configure_file("${SOURCE_DIR}/packaging/control.in" "${STAGE}/DEBIAN/control" @ONLY)

execute_process(COMMAND "${DPKG_DEB}" --root-owner-group -Zgzip --build "${STAGE}" "${DEB}.part"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  file(REMOVE "${DEB}.part")
  message(FATAL_ERROR "dpkg-deb could not build ${DEB}")
endif()
file(RENAME "${DEB}.part" "${DEB}")
