# The files a Linux desktop needs beside the programs: the desktop entry, the
# icon (the scalable one and PNGs rendered from it at the usual sizes), the
# AppStream metainfo, the user guide and the manual page.  The window's files
# come only with the window program.
set(BRIMLOW_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(BRIMLOW_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/brimlow)

install(FILES ${BRIMLOW_USER_GUIDE} DESTINATION ${BRIMLOW_DOC_DIR})

# Debian keeps manual pages compressed; -n leaves the name and time out, so
# the same page always gives the same bytes.
set(manual ${CMAKE_CURRENT_BINARY_DIR}/brimlow-cli.1)
add_custom_command(
  OUTPUT ${manual}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${BRIMLOW_PACKAGING_DIR}/brimlow-cli.1 ${manual}
  COMMAND gzip -9 -n -f ${manual}
  DEPENDS ${BRIMLOW_PACKAGING_DIR}/brimlow-cli.1
  VERBATIM)
add_custom_target(brimlow_manual ALL DEPENDS ${manual}.gz)
install(FILES ${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(NOT TARGET brimlow)
  return()
endif()

install(FILES ${BRIMLOW_PACKAGING_DIR}/brimlow.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
configure_file(${BRIMLOW_PACKAGING_DIR}/${BRIMLOW_APP_ID}.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/${BRIMLOW_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${BRIMLOW_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

set(icons ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
set(svg ${BRIMLOW_PACKAGING_DIR}/brimlow.svg)
install(FILES ${svg} DESTINATION ${icons}/scalable/apps)
find_program(BRIMLOW_RSVG_CONVERT rsvg-convert)
if(NOT BRIMLOW_RSVG_CONVERT)
  message(WARNING "rsvg-convert (Debian: librsvg2-bin) is missing: "
                  "only the scalable icon is installed")
  return()
endif()
set(pngs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/brimlow.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${BRIMLOW_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${svg}
    DEPENDS ${svg}
    VERBATIM)
  list(APPEND pngs ${png})
  install(FILES ${png} DESTINATION ${icons}/${size}x${size}/apps)
endforeach()
add_custom_target(brimlow_icons ALL DEPENDS ${pngs})
