# The Debian package that scripts/package writes with CPack: the game, its launcher, orelog-tool and
# demo-pool, the menu entry, the icon, the AppStream metadata, the manual pages and the package's
# documents. Depends comes from dpkg-shlibdeps, plus the font the game draws its texts with.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME orelog)
set(CPACK_PACKAGE_VENDOR "Orelog developers")
set(CPACK_PACKAGE_CONTACT "Orelog developers <maintainers@users.noreply.c-seed-44bdcf06.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "your mining pool's figures as a little digging game")
set(ORELOG_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
set(ORELOG_DEBIAN_DIR ${PROJECT_BINARY_DIR}/debian)

install(TARGETS orelog-tool demo-pool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/orelog.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME io.orelog.Orelog.metainfo.xml)

# Manual pages and the changelog go in compressed, without a time stamp, as Debian keeps them.
find_program(ORELOG_GZIP gzip REQUIRED)
function(orelog_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(gzipped ${ORELOG_DEBIAN_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${ORELOG_GZIP} -9 -n -c ${source} > ${gzipped}
    DEPENDS ${source} VERBATIM)
  add_custom_target(orelog_gzip_${name} ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${destination})
endfunction()
file(GLOB ORELOG_MAN_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/*.6)
foreach(page ${ORELOG_MAN_PAGES})
  orelog_install_gzipped(${page} ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/res/debian/changelog.in ${ORELOG_DEBIAN_DIR}/changelog @ONLY)
orelog_install_gzipped(${ORELOG_DEBIAN_DIR}/changelog ${ORELOG_DOC_DIR})

# picojson is compiled into the programs, so its notice travels with them, read from the header the
# programs are built with.
file(READ ${PICOJSON_HEADER} ORELOG_PICOJSON_HEADER)
string(FIND "${ORELOG_PICOJSON_HEADER}" "*/" ORELOG_PICOJSON_NOTICE_END)
string(SUBSTRING "${ORELOG_PICOJSON_HEADER}" 0 ${ORELOG_PICOJSON_NOTICE_END} ORELOG_PICOJSON_NOTICE)
string(REGEX REPLACE "^[ \t\n]*/\\*[ \t]*\n" "" ORELOG_PICOJSON_NOTICE "${ORELOG_PICOJSON_NOTICE}")
string(REGEX REPLACE "(^|\n) \\* ?" "\\1" ORELOG_PICOJSON_NOTICE "${ORELOG_PICOJSON_NOTICE}")
string(STRIP "${ORELOG_PICOJSON_NOTICE}" ORELOG_PICOJSON_NOTICE)
configure_file(${PROJECT_SOURCE_DIR}/res/debian/copyright.in ${ORELOG_DEBIAN_DIR}/copyright @ONLY)
install(FILES ${ORELOG_DEBIAN_DIR}/copyright DESTINATION ${ORELOG_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian keeps the "games" section for programs in /usr/games; these are in /usr/bin.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# The summary comes first; these lines follow it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orelog is a small game for people who mine in a pool that runs the MPOS pool
software. It asks the pool's web API for your workers, balance and payouts
when you connect and every 150 seconds, and turns the figures into
experience, levels, points and an in-game coin that buys decorations. Your
workers dig away as animated cats. The interface is Japanese.
.
The package also brings orelog-tool, the game's core on the command line,
and demo-pool, a pool API on this computer to try the game with.")
include(CPack)
