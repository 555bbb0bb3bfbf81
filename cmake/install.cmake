# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under the prefix: the programs, the man page, and for
# the editor its desktop entry, AppStream metainfo and icons. Included at the end of
# the top CMakeLists.txt, once every target exists.
include(GNUInstallDirs)

# The AppStream id, the project's home and where the README's screenshot is published.
set(EDT_APP_ID "io.github.edt_editor.EdtEditor" CACHE STRING "AppStream component id")
set(EDT_HOMEPAGE_URL "https://github.com/edt-editor/edt-editor" CACHE STRING
    "Project home page, named in the AppStream metainfo")
set(EDT_SCREENSHOT_URL "${EDT_HOMEPAGE_URL}/raw/main/docs/screenshot.png" CACHE STRING
    "Screenshot (docs/screenshot.png as published), named in the AppStream metainfo")
# The day this version was released; change it together with the project's version.
set(EDT_RELEASE_DATE "2026-12-07")

set(EDT_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(EDT_ICON_DIR ${PROJECT_SOURCE_DIR}/data/icons)
set(EDT_METAINFO ${PROJECT_BINARY_DIR}/data/${EDT_APP_ID}.metainfo.xml)
set(EDT_MAN_PAGE ${PROJECT_BINARY_DIR}/data/edt-tool.1)
configure_file(${EDT_DATA_DIR}/edt-editor.metainfo.xml.in ${EDT_METAINFO} @ONLY)
configure_file(${EDT_DATA_DIR}/edt-tool.1.in ${EDT_MAN_PAGE} @ONLY)

install(TARGETS edt-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The licence, in the form Debian keeps it for every package.
set(EDT_PACKAGE_CONTACT "EDT editor developers <edt-editor@example.org>" CACHE STRING
    "Maintainer of the Debian package: name <address>")
configure_file(${EDT_DATA_DIR}/copyright.in ${PROJECT_BINARY_DIR}/data/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian installs manual pages compressed with gzip -9n (no name or time stamp inside,
# so the package builds the same each time); man reads either form.
find_program(EDT_GZIP gzip)
if(EDT_GZIP)
  add_custom_command(OUTPUT ${EDT_MAN_PAGE}.gz
                     COMMAND ${EDT_GZIP} -9nkf ${EDT_MAN_PAGE}
                     DEPENDS ${EDT_MAN_PAGE}
                     COMMENT "Compressing the manual page")
  add_custom_target(edt_man_page ALL DEPENDS ${EDT_MAN_PAGE}.gz)
  install(FILES ${EDT_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${EDT_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARGET edt-editor)
  install(TARGETS edt-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${EDT_DATA_DIR}/edt-editor.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${EDT_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The type of EDT files, which the desktop entry opens (shared-mime-info).
  install(FILES ${EDT_DATA_DIR}/edt-editor.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME edt-editor.xml)

  set(EDT_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  if(EXISTS ${EDT_ICON_DIR}/edt-editor.svg)
    install(FILES ${EDT_ICON_DIR}/edt-editor.svg DESTINATION ${EDT_HICOLOR}/scalable/apps)
  endif()
  foreach(size 16 32 48 64 128 256)
    set(icon ${EDT_ICON_DIR}/hicolor/${size}x${size}/apps/edt-editor.png)
    if(EXISTS ${icon})
      install(FILES ${icon} DESTINATION ${EDT_HICOLOR}/${size}x${size}/apps)
    endif()
  endforeach()
endif()
