# One Wine environment for the whole test run: an X server on a free display,
# a private prefix inside the build tree (made once, kept between runs) and a
# persistent wineserver. Set up and torn down by ctest fixtures.
set(VDL_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(VDL_WINE_RUN ${VDL_WINE_STATE}/run64)
configure_file(${CMAKE_SOURCE_DIR}/tests/wine/run64.in ${VDL_WINE_RUN} @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

add_test(NAME wine.start COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/start.sh ${VDL_WINE_STATE})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 900 LABELS "host;wine")
add_test(NAME wine.stop COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/stop.sh ${VDL_WINE_STATE})
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120 LABELS "host;wine")

# A full drive and a read-only drive for the tests of installations that
# cannot be written; needs the prefix, so it comes after wine.start.
add_test(NAME drives.mount COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/drives.sh mount ${VDL_WINE_STATE})
set_tests_properties(drives.mount PROPERTIES FIXTURES_SETUP drives FIXTURES_REQUIRED wine TIMEOUT 60
  LABELS "host;wine")
add_test(NAME drives.unmount COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/drives.sh unmount ${VDL_WINE_STATE})
# After the wineserver is gone, so that nothing holds a file on the drives.
set_tests_properties(drives.unmount PROPERTIES FIXTURES_CLEANUP drives DEPENDS wine.stop TIMEOUT 60
  LABELS "host;wine")
