# The version is stated once, in CMakeLists.txt's project(); the Debian changelog, the manual
# page and the AppStream metadata must carry the same. Run by CTest as VersionIsStatedOnce:
#   cmake -DVERSION=2.0.0 -DSOURCE=<tree> -P tools/check-version.cmake
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)" _ "${VERSION}")
# The product writes its version as major "." minor in two digits: 2.00.
string(LENGTH "${CMAKE_MATCH_2}" minor_digits)
if(minor_digits EQUAL 1)
  set(product "${CMAKE_MATCH_1}.0${CMAKE_MATCH_2}")
else()
  set(product "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}")
endif()

file(STRINGS "${SOURCE}/debian/changelog" changelog LIMIT_COUNT 1)
if(NOT changelog MATCHES "^415-mainpicture-config \\(${VERSION}\\) ")
  message(FATAL_ERROR "debian/changelog's newest entry is not ${VERSION}: ${changelog}")
endif()
file(STRINGS "${SOURCE}/packaging/415_MainPicture_Config.1" manual REGEX "^\\.TH ")
if(NOT manual MATCHES "\"415_MainPicture_Config ${product}\"")
  message(FATAL_ERROR "the manual page's .TH line does not name ${product}: ${manual}")
endif()
file(STRINGS "${SOURCE}/packaging/org.mainpicture.mainpicture_config.metainfo.xml" release
     REGEX "<release version=" LIMIT_COUNT 1)
if(NOT release MATCHES "version=\"${VERSION}\"")
  message(FATAL_ERROR "the AppStream metadata's newest release is not ${VERSION}: ${release}")
endif()
message(STATUS "version ${VERSION} (${product}) in the changelog, the manual page and AppStream")
