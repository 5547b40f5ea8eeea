# Installation and the Debian package, apart from the executable itself.
#
# The installation prefix is the installation tree: the program lies in
# <prefix>/415_MainPicture/, beside the component's .cfg file, and finds ../parameter/ from
# there. The desktop integration (entry, icon, AppStream metadata, manual page) and the
# package's documents go to MAINPICTURE_DATA_DIR, where the desktop and man look for them, and
# a link to the executable to MAINPICTURE_BIN_DIR.
# Stage an installation with DESTDIR: `DESTDIR=/tmp/stage cmake --install build`.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/hmi CACHE PATH "The installation tree the program is placed in" FORCE)
endif()
set(MAINPICTURE_DATA_DIR /usr/share CACHE PATH
    "Where the desktop entry, icon, AppStream metadata, manual page and documents go")

set(mainpicture_package 415-mainpicture-config)
set(mainpicture_app_id org.mainpicture.mainpicture_config)
set(mainpicture_source ${CMAKE_CURRENT_LIST_DIR})
set(mainpicture_generated ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(mainpicture_template_dir ${MAINPICTURE_DATA_DIR}/${mainpicture_package})
set(mainpicture_doc_dir ${MAINPICTURE_DATA_DIR}/doc/${mainpicture_package})

# The manual page and the changelog are installed compressed, reproducibly (no name, no time).
set(mainpicture_compressed)
foreach(pair "415_MainPicture_Config.1;415_MainPicture_Config.1.gz" "changelog;changelog.gz")
  list(GET pair 0 plain)
  list(GET pair 1 packed)
  add_custom_command(OUTPUT ${mainpicture_generated}/${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${mainpicture_generated}
    COMMAND gzip -9 -n -c ${mainpicture_source}/${plain} > ${mainpicture_generated}/${packed}
    DEPENDS ${mainpicture_source}/${plain}
    VERBATIM)
  list(APPEND mainpicture_compressed ${mainpicture_generated}/${packed})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${mainpicture_compressed})

# The desktop entry starts the installed executable, wherever the prefix put it.
install(CODE "
  set(MAINPICTURE_EXECUTABLE \"\${CMAKE_INSTALL_PREFIX}/415_MainPicture/415_MainPicture_Config\")
  configure_file(\"${mainpicture_source}/${mainpicture_app_id}.desktop.in\"
                 \"${mainpicture_generated}/${mainpicture_app_id}.desktop\" @ONLY)")
install(FILES ${mainpicture_generated}/${mainpicture_app_id}.desktop
        DESTINATION ${MAINPICTURE_DATA_DIR}/applications)
install(FILES ${mainpicture_source}/${mainpicture_app_id}.svg
        DESTINATION ${MAINPICTURE_DATA_DIR}/icons/hicolor/scalable/apps)
install(FILES ${mainpicture_source}/${mainpicture_app_id}.metainfo.xml
        DESTINATION ${MAINPICTURE_DATA_DIR}/metainfo)
install(FILES ${mainpicture_generated}/415_MainPicture_Config.1.gz
        DESTINATION ${MAINPICTURE_DATA_DIR}/man/man1)
install(FILES ${mainpicture_source}/copyright ${mainpicture_generated}/changelog.gz
        DESTINATION ${mainpicture_doc_dir})
install(FILES ${mainpicture_source}/lintian-overrides
        DESTINATION ${MAINPICTURE_DATA_DIR}/lintian/overrides RENAME ${mainpicture_package})

# A link on the PATH, so that `415_MainPicture_Config --help` and its manual page are found;
# the program follows it back into its installation tree.
set(MAINPICTURE_BIN_DIR /usr/bin CACHE PATH "Where the link to the executable goes")
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${MAINPICTURE_BIN_DIR}\")
  file(CREATE_LINK \"\${CMAKE_INSTALL_PREFIX}/415_MainPicture/415_MainPicture_Config\"
       \"\$ENV{DESTDIR}${MAINPICTURE_BIN_DIR}/415_MainPicture_Config\" SYMBOLIC)")

# The language file with every text of the dialog in German and English, kept as a template.
# It is placed beside the executable only when no language file is there, so one that a user
# or a translator changed is never overwritten: here by an installation into the live tree,
# in the package by its postinst. A staged installation (DESTDIR, as the package is built)
# carries only the template.
set(mainpicture_template ${PROJECT_SOURCE_DIR}/demo/415_MainPicture/415_MainPicture_Config.ini)
install(FILES ${mainpicture_template} DESTINATION ${mainpicture_template_dir})
install(CODE "
  set(language_file \"\${CMAKE_INSTALL_PREFIX}/415_MainPicture/415_MainPicture_Config.ini\")
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\" AND NOT EXISTS \"\${language_file}\")
    message(STATUS \"Placing: \${language_file}\")
    file(COPY_FILE \"${mainpicture_template}\" \"\${language_file}\")
  elseif(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    message(STATUS \"Kept: \${language_file}\")
  endif()" COMPONENT language_file)

# The Debian package: a Release build with Debian's hardening flags (tools/package.sh),
# stripped, its library dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${mainpicture_package})
set(CPACK_PACKAGE_CONTACT "MainPicture developers <dev@mainpicture.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/hmi)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(READ ${mainpicture_source}/description.txt mainpicture_description)
# Its first line is the synopsis, the rest the extended description.
string(FIND "${mainpicture_description}" "\n" mainpicture_line_end)
string(SUBSTRING "${mainpicture_description}" 0 ${mainpicture_line_end}
       CPACK_PACKAGE_DESCRIPTION_SUMMARY)
math(EXPR mainpicture_line_end "${mainpicture_line_end} + 1")
string(SUBSTRING "${mainpicture_description}" ${mainpicture_line_end} -1
       CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(MAINPICTURE_TEMPLATE ${mainpicture_template_dir}/415_MainPicture_Config.ini)
set(MAINPICTURE_LANGUAGE_FILE
    ${CPACK_PACKAGING_INSTALL_PREFIX}/415_MainPicture/415_MainPicture_Config.ini)
set(MAINPICTURE_PLACED_RECORD /var/lib/${mainpicture_package}/placed-language-file)
configure_file(${mainpicture_source}/postinst.in ${mainpicture_generated}/postinst @ONLY)
configure_file(${mainpicture_source}/postrm.in ${mainpicture_generated}/postrm @ONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${mainpicture_generated}/postinst
    ${mainpicture_generated}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
