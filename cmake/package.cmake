# `make package`: a Debian package of both programs and everything data/ and man/ install,
# under /usr, its library dependencies computed by dpkg-shlibdeps.

# The project maintains the package, whoever builds it. A plain variable: a cache entry would
# keep whatever maintainer a tree configured earlier had cached.
set(GLINTDECK_PACKAGE_MAINTAINER "The Glintdeck developers <developers@glintdeck.org>")

# Debian wants the copyright and a compressed changelog in the package's doc folder.
set(package_doc ${CMAKE_INSTALL_DATADIR}/doc/glintdeck)
# The package is built by the project itself (a native package): its changelog is changelog.gz.
configure_file(data/package/changelog.in package-doc/changelog @ONLY)
set(changelog ${PROJECT_BINARY_DIR}/package-doc/changelog)
add_custom_command(OUTPUT ${changelog}.gz
                   COMMAND gzip -9n --stdout ${changelog} > ${changelog}.gz
                   DEPENDS ${changelog})
add_custom_target(glintdeck_changelog ALL DEPENDS ${changelog}.gz)
install(FILES data/package/copyright ${changelog}.gz DESTINATION ${package_doc})

# Everything the package holds, for `make package` to build before cpack runs.
if(TARGET glintdeck)
    add_custom_target(glintdeck_package_contents
                      DEPENDS glintdeck glintdeck-stats glintdeck_manual_pages glintdeck_icons
                              glintdeck_changelog)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glintdeck)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${GLINTDECK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link names: the icon font the tiles draw their symbols with, a font with the
# arrows and degree signs of the texts, and Qt's SVG plugin for the program's icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-material-design-icons-iconfont, fonts-dejavu-core | fonts-noto-core, libqt6svg6")
# The completion of glintdeck-stats is loaded by bash-completion; without it nothing completes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bash-completion)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "glanceable HUD of live machine stats, summoned with a hotkey")
# The extended description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Glintdeck runs in the background for the whole login session. A key
combination pops up a borderless floating strip of stat tiles (processor,
memory, disk, network, battery, GPU, fans, power, temperatures, load average
and uptime) without taking the focus (in a Wayland session it takes the
keyboard, so that Esc reaches it), and the same key hides it again. A click
on a tile opens its card with a graph and the top processes.
.
glintdeck-stats prints the same stats in a terminal, as JSON for scripts, or
for waybar, i3bar and swaybar.")
include(CPack)
