# The page of `vantile-sim serve` (sim/serve/page/) is copied beside the simulator, where the server looks for it:
# the build tree serves what the source tree holds, with nothing fetched from elsewhere.
set(SERVE_PAGE_DIR ${CMAKE_BINARY_DIR}/serve-page)
file(MAKE_DIRECTORY ${SERVE_PAGE_DIR})
file(GLOB SERVE_PAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/serve/page/*)
set(SERVE_PAGE_OUTPUTS)
foreach(source IN LISTS SERVE_PAGE_SOURCES)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${SERVE_PAGE_DIR}/${name}
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${SERVE_PAGE_DIR}/${name}
                     DEPENDS ${source} VERBATIM)
  list(APPEND SERVE_PAGE_OUTPUTS ${SERVE_PAGE_DIR}/${name})
endforeach()
add_custom_target(serve_page ALL DEPENDS ${SERVE_PAGE_OUTPUTS})
add_dependencies(vantile-sim serve_page)
