# Installation, apart from the executable itself. The Debian package (debian/) installs this
# and adds the documents and the maintainer scripts.
#
# The program runs inside an installation tree, MAINPICTURE_TREE: it lies in
# <tree>/415_MainPicture/, beside the component's .cfg file, and finds ../parameter/ from
# there. By default the installation prefix is that tree, and the program is installed right
# into it. The Debian package installs it below /usr/libexec instead, and its postinst puts a copy
# into the tree (debian/). The desktop integration (entry, icon, AppStream metadata, manual
# page) and the language-file template go to MAINPICTURE_DATA_DIR, where the desktop and man
# look for them, and a link to the program in the tree to MAINPICTURE_BIN_DIR.
# Stage an installation with DESTDIR: `DESTDIR=/tmp/stage cmake --install build`.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/hmi CACHE PATH "The installation tree the program is placed in" FORCE)
endif()
set(MAINPICTURE_TREE "" CACHE PATH "The installation tree the program runs in (empty: the prefix)")
# Evaluated at installation time, so that `cmake --install --prefix` moves the tree too.
if(MAINPICTURE_TREE STREQUAL "")
  set(mainpicture_tree "\${CMAKE_INSTALL_PREFIX}")
else()
  set(mainpicture_tree "${MAINPICTURE_TREE}")
endif()
set(mainpicture_in_tree ${mainpicture_tree}/415_MainPicture/415_MainPicture_Config)
set(MAINPICTURE_DATA_DIR /usr/share CACHE PATH
    "Where the desktop entry, icon, AppStream metadata, manual page and template go")

set(mainpicture_package 415-mainpicture-config)
set(mainpicture_app_id org.mainpicture.mainpicture_config)
set(mainpicture_source ${CMAKE_CURRENT_LIST_DIR})
set(mainpicture_generated ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(mainpicture_template_dir ${MAINPICTURE_DATA_DIR}/${mainpicture_package})

# The manual page is installed compressed, reproducibly (no name, no time).
set(mainpicture_manual ${mainpicture_generated}/415_MainPicture_Config.1.gz)
add_custom_command(OUTPUT ${mainpicture_manual}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${mainpicture_generated}
  COMMAND gzip -9 -n -c ${mainpicture_source}/415_MainPicture_Config.1 > ${mainpicture_manual}
  DEPENDS ${mainpicture_source}/415_MainPicture_Config.1
  VERBATIM)
add_custom_target(packaging_files ALL DEPENDS ${mainpicture_manual})

# The desktop entry starts the program through its link on the PATH (below), which leads into
# the installation tree.
set(MAINPICTURE_BIN_DIR /usr/bin CACHE PATH "Where the link to the executable goes")
install(CODE "
  set(MAINPICTURE_EXECUTABLE \"${MAINPICTURE_BIN_DIR}/415_MainPicture_Config\")
  configure_file(\"${mainpicture_source}/${mainpicture_app_id}.desktop.in\"
                 \"${mainpicture_generated}/${mainpicture_app_id}.desktop\" @ONLY)")
install(FILES ${mainpicture_generated}/${mainpicture_app_id}.desktop
        DESTINATION ${MAINPICTURE_DATA_DIR}/applications)
install(FILES ${mainpicture_source}/${mainpicture_app_id}.svg
        DESTINATION ${MAINPICTURE_DATA_DIR}/icons/hicolor/scalable/apps)
install(FILES ${mainpicture_source}/${mainpicture_app_id}.metainfo.xml
        DESTINATION ${MAINPICTURE_DATA_DIR}/metainfo)
install(FILES ${mainpicture_manual} DESTINATION ${MAINPICTURE_DATA_DIR}/man/man1)

# A link on the PATH, so that `415_MainPicture_Config --help` and its manual page are found;
# the program follows it back into its installation tree.
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${MAINPICTURE_BIN_DIR}\")
  file(CREATE_LINK \"${mainpicture_in_tree}\"
       \"\$ENV{DESTDIR}${MAINPICTURE_BIN_DIR}/415_MainPicture_Config\" SYMBOLIC)")

# The language file with every text of the dialog in German and English, kept as a template.
# It is placed beside the executable only when the program would find no language file there,
# so one that a user or a translator changed is never overwritten nor joined by a second: here
# by an installation into the live tree, in the package by its postinst (debian/). A staged
# installation (DESTDIR, as the package is built) carries only the template. The program finds
# the file without regard to case, by each letter's upper case; the letters outside ASCII whose
# upper case is an ASCII letter are the dotless i and the long s.
set(mainpicture_template ${PROJECT_SOURCE_DIR}/demo/415_MainPicture/415_MainPicture_Config.ini)
install(FILES ${mainpicture_template} DESTINATION ${mainpicture_template_dir})
install(CODE "
  set(folder \"${mainpicture_tree}/415_MainPicture\")
  set(language_file \"\${folder}/415_MainPicture_Config.ini\")
  set(found \"\")
  file(GLOB entries LIST_DIRECTORIES true RELATIVE \"\${folder}\" \"\${folder}/*\")
  foreach(entry IN LISTS entries)
    string(REPLACE \"ı\" I upper \"\${entry}\")
    string(REPLACE \"ſ\" S upper \"\${upper}\")
    string(TOUPPER \"\${upper}\" upper)
    if(upper STREQUAL \"415_MAINPICTURE_CONFIG.INI\")
      set(found \"\${folder}/\${entry}\")
    endif()
  endforeach()
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\" AND found STREQUAL \"\")
    message(STATUS \"Placing: \${language_file}\")
    file(COPY_FILE \"${mainpicture_template}\" \"\${language_file}\")
  elseif(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    message(STATUS \"Kept: \${found}\")
  endif()" COMPONENT language_file)
