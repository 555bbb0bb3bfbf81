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
set(EDT_EDITOR_MAN_PAGE ${PROJECT_BINARY_DIR}/data/edt-editor.1)
configure_file(${EDT_DATA_DIR}/edt-tool.1.in ${EDT_MAN_PAGE} @ONLY)
configure_file(${EDT_DATA_DIR}/edt-editor.1.in ${EDT_EDITOR_MAN_PAGE} @ONLY)

install(TARGETS edt-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The licence, in the form Debian keeps it for every package.
set(EDT_PACKAGE_CONTACT "EDT editor developers <edt-editor@example.org>" CACHE STRING
    "Maintainer of the Debian package: name <address>")
configure_file(${EDT_DATA_DIR}/copyright.in ${PROJECT_BINARY_DIR}/data/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian changelog: the package's version carries no Debian revision (the project
# packages itself), which makes it a native package, whose changelog is changelog.gz.
# It dates the release as such changelogs do (RFC 2822); Zeller's rule gives the weekday.
string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-0?([0-9]+)$" _ ${EDT_RELEASE_DATE})
set(_year ${CMAKE_MATCH_1})
set(_release_year ${CMAKE_MATCH_1})
set(_month ${CMAKE_MATCH_2})
set(_day ${CMAKE_MATCH_3})
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR _index "${_month} - 1")
list(GET _months ${_index} _month_name)
if(_month LESS 3) # January and February count as months 13 and 14 of the year before
  math(EXPR _month "${_month} + 12")
  math(EXPR _year "${_year} - 1")
endif()
math(EXPR _weekday "(${_day} + 13 * (${_month} + 1) / 5 + ${_year} + ${_year} / 4 \
- ${_year} / 100 + ${_year} / 400) % 7")
set(_weekdays Sat Sun Mon Tue Wed Thu Fri)
list(GET _weekdays ${_weekday} _weekday)
if(_day LESS 10)
  set(_day 0${_day})
endif()
set(EDT_RELEASE_DAY "${_weekday}, ${_day} ${_month_name} ${_release_year} 00:00:00 +0000")
configure_file(${EDT_DATA_DIR}/changelog.in ${PROJECT_BINARY_DIR}/data/changelog @ONLY)
# Debian installs manual pages and changelogs compressed with gzip -9n (no name or time
# stamp inside, so the package builds the same each time); man reads either form.
find_program(EDT_GZIP gzip)
function(edt_install_compressed file destination)
  get_filename_component(name ${file} NAME)
  if(EDT_GZIP)
    add_custom_command(OUTPUT ${file}.gz
                       COMMAND ${EDT_GZIP} -9nkf ${file}
                       DEPENDS ${file}
                       COMMENT "Compressing ${name}")
    add_custom_target(edt_compress_${name} ALL DEPENDS ${file}.gz)
    install(FILES ${file}.gz DESTINATION ${destination})
  else()
    install(FILES ${file} DESTINATION ${destination})
  endif()
endfunction()
edt_install_compressed(${EDT_MAN_PAGE} ${CMAKE_INSTALL_MANDIR}/man1)
edt_install_compressed(${PROJECT_BINARY_DIR}/data/changelog ${CMAKE_INSTALL_DOCDIR})

if(TARGET edt-editor)
  install(TARGETS edt-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  edt_install_compressed(${EDT_EDITOR_MAN_PAGE} ${CMAKE_INSTALL_MANDIR}/man1)
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
