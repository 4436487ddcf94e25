# Windows tests run under Wine: one wine server for the whole run, started and stopped by CTest
# fixtures that every test requires (see add_project_test).
# A build-tree path compiled into a Windows test program: Wine shows the build machine's root as Z:.
set(NATIVE_PATH_PREFIX "Z:")

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
add_test(NAME wine-server-start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh start ${WINE_PREFIX})
add_test(NAME wine-server-stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server.sh stop ${WINE_PREFIX})
set_tests_properties(wine-server-start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine-server-stop PROPERTIES FIXTURES_CLEANUP wine)
