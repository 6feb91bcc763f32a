# What `cmake --install` puts where, and the Debian package made from it.
# Included from the top-level CMakeLists.txt, after the program's targets.

include(GNUInstallDirs)

set(QUILVEX_ID io.github.quilvex.Quilvex)
set(dist ${CMAKE_SOURCE_DIR}/dist)
set(icon_svg ${dist}/${QUILVEX_ID}.svg)

# The PNG icons are drawn from the SVG at build time, so the SVG is the only source.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
  set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  set(png ${folder}/${QUILVEX_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${icon_svg}
    DEPENDS ${icon_svg} VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The windows carry the icon from the program itself, whatever the icon theme holds.
set(window_icon ${CMAKE_BINARY_DIR}/icons/256x256/${QUILVEX_ID}.png)
set_source_files_properties(${window_icon} PROPERTIES QT_RESOURCE_ALIAS quilvex.png)
qt_add_resources(quilvex window_icon PREFIX /icons FILES ${window_icon})

set(man_page ${CMAKE_BINARY_DIR}/quilvex.1.gz)
add_custom_command(OUTPUT ${man_page}
  COMMAND gzip -9nc ${dist}/quilvex.1 > ${man_page}
  DEPENDS ${dist}/quilvex.1 VERBATIM)
add_custom_target(quilvex_install_data ALL DEPENDS ${icon_pngs} ${man_page})

install(TARGETS quilvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${dist}/${QUILVEX_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/${QUILVEX_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/${QUILVEX_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME ${QUILVEX_ID}.xml)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
file(GLOB example_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.dta)
install(FILES ${example_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/quilvex/examples)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Where Debian looks for it, named after the package.
install(FILES ${dist}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quilvex)

# The Debian package (scripts/package.sh); dpkg-shlibdeps computes its dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quilvex)
set(CPACK_PACKAGE_VENDOR "Quilvex Team")
set(CPACK_PACKAGE_CONTACT "Quilvex Team <quilvex@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fit curves to measured data and draw them")
set(CPACK_PACKAGE_DESCRIPTION "Quilvex shows a grid of X,Y pairs and draws the points with any of seven
fitted curves: cubic spline, Lagrange polynomials, regression polynomials,
exponential, logarithmic and power fits. Points can be dragged in the graph;
a status window lists each fit's coefficients and evaluates the curves.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quilvex/quilvex)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are laid out for these fonts' metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
set(CPACK_STRIP_FILES ON)
include(CPack)
