# What `cmake --install` puts where, and the Debian package made from it by
# CPack. Included at the end of the top-level CMakeLists.txt, once every
# program is defined.

include(GNUInstallDirs)

set(QV742_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

foreach(program qv742-panel qv742-sim qv742-ctl)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The panel looks for bmp/ beside itself first, then in the data folders
# (share/qv742/bmp), where an installed copy has it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/bmp/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/qv742/bmp
  FILES_MATCHING PATTERN "*.bmp")

# The desktop file is named after the program, so window managers match the
# running panel (X11 class, Wayland app id and the desktop file name it
# gives its windows, "qv742-panel") to its entry. Exec names the program by
# its full path: KDE Plasma finds the entry of a running program that way,
# and grants the magnifier KWin's screenshot interface by it.
set(QV742_PANEL_PATH ${CMAKE_INSTALL_FULL_BINDIR}/qv742-panel)
configure_file(${QV742_PACKAGING_DIR}/qv742-panel.desktop.in ${CMAKE_BINARY_DIR}/qv742-panel.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/qv742-panel.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The AppStream id lies under .local, a domain nobody can own, until the
# project has a domain of its own; once published it must not change.
install(FILES ${QV742_PACKAGING_DIR}/local.qv742.panel.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/qv742-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME qv742.png)
endforeach()

# Manual pages, compressed as Debian wants them (-n: no name or time
# stamp, so the same page gives the same bytes).
find_program(QV742_GZIP gzip)
set(QV742_MAN_PAGES qv742-panel.1 qv742-sim.1 qv742-ctl.1)
set(QV742_MAN_OUTPUTS)
foreach(page ${QV742_MAN_PAGES})
  set(source ${QV742_PACKAGING_DIR}/man/${page})
  if(QV742_GZIP)
    set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" sh ${QV742_GZIP} ${source} ${out}
      DEPENDS ${source} VERBATIM)
  else()
    set(out ${source})
  endif()
  list(APPEND QV742_MAN_OUTPUTS ${out})
endforeach()
add_custom_target(qv742_man_pages ALL DEPENDS ${QV742_MAN_OUTPUTS})
install(FILES ${QV742_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Who answers for the package. The default lies under example.org, which
# is reserved, so it can belong to nobody (lintian refuses .local); whoever
# publishes the package sets a real one: -DQV742_MAINTAINER="Name <address>".
set(QV742_DEFAULT_MAINTAINER "The QV-742 control panel authors <maintainers@qv742.example.org>")
set(QV742_MAINTAINER "${QV742_DEFAULT_MAINTAINER}"
  CACHE STRING "Maintainer of the Debian package: Name <user@host.domain>")
if(QV742_MAINTAINER STREQUAL "QV-742 panel developers <qv742-panel@localhost>")
  # The earlier default, still in older build trees; Debian refuses it.
  set_property(CACHE QV742_MAINTAINER PROPERTY VALUE "${QV742_DEFAULT_MAINTAINER}")
endif()
if(NOT QV742_MAINTAINER MATCHES "^[^<>@]*[^<>@ ] <[^<>@ ]+@[^<>@ .]+(\\.[^<>@ .]+)+>$")
  message(FATAL_ERROR "QV742_MAINTAINER is \"${QV742_MAINTAINER}\"; it must read "
    "\"Name <user@host.domain>\", e.g. -DQV742_MAINTAINER=\"Ann Example <ann@example.org>\"")
endif()

# The package's copyright file, in Debian's machine-readable format, with
# the licence text taken from LICENSE; and its changelog.
set(QV742_DEB_RELEASE 1)
set(QV742_DEB_VERSION ${PROJECT_VERSION}-${QV742_DEB_RELEASE})
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(FIND "${licence}" "Permission is hereby granted" grant_at)
if(grant_at LESS 0)
  message(FATAL_ERROR "LICENSE no longer holds the MIT licence text; update packaging/copyright.in")
endif()
string(SUBSTRING "${licence}" ${grant_at} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " QV742_LICENSE_TEXT " ${licence}")
configure_file(${QV742_PACKAGING_DIR}/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
configure_file(${QV742_PACKAGING_DIR}/changelog.Debian.in ${CMAKE_BINARY_DIR}/doc/changelog.Debian @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(QV742_GZIP)
  set(out ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" sh ${QV742_GZIP} ${CMAKE_BINARY_DIR}/doc/changelog.Debian ${out}
    DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.Debian VERBATIM)
  add_custom_target(qv742_changelog ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# The Debian package: scripts/package builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qv742)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QV-742 control panel authors")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QV742_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for the QV-742 video scan converter")
# The summary above is the synopsis line; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The QV-742 turns a computer's screen picture into a television signal and
is driven over a serial line. Scan Converter (qv742-panel) is its desktop
control panel: power, underscan and overscan, aspect ratio, output, freeze
and TV system, position, size and zoom of the picture, and the video
settings, with a monitor of what the box reports.
.
Also included are qv742-ctl, a command-line client for scripting the box,
and qv742-sim, a simulated box on a pseudo-terminal for trying the panel
without hardware.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QV742_DEB_RELEASE})
# Libraries through dpkg-shlibdeps; what is loaded at run time but not
# linked (the display plugin, the fonts standing in for Arial) by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# On a Wayland desktop the panel prefers XWayland and falls back to Qt's
# Wayland platform where there is none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
include(CPack)
