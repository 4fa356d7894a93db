# GoogleTest for the Windows build: Debian ships it as sources (package googletest, under
# /usr/src/googletest), built here with the cross compiler as static libraries, with the target
# names find_package(GTest) gives on Linux (GTest::gtest, GTest::gmock, ...). The test programs
# run under Wine (scripts/windows-tests.sh).
set(OVARDIX_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows build")
if(NOT EXISTS ${OVARDIX_GOOGLETEST_SOURCES}/CMakeLists.txt)
  message(FATAL_ERROR "The Windows tests need GoogleTest's sources in ${OVARDIX_GOOGLETEST_SOURCES} (package googletest)")
endif()
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
add_subdirectory(${OVARDIX_GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
