# What `cmake --install` puts under the prefix, and the Debian package that
# `cpack -G DEB` makes of it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS orrinrc orrinrc-check orrinrc-dump orrinrc-lsp orrinrc-preview EXPORT OrrinRCTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages: every page in man/, by its section.
file(GLOB ORRINRC_MAN1 CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.1)
file(GLOB ORRINRC_MAN5 CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.5)
if(ORRINRC_MAN1)
  install(FILES ${ORRINRC_MAN1} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(ORRINRC_MAN5)
  install(FILES ${ORRINRC_MAN5} DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
endif()

# The guide with the notes and pictures it links to, in the folders its links
# name, the editor notes, and the examples (the consumer project builds from
# there as it does in the source tree).
file(GLOB ORRINRC_GUIDE CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${ORRINRC_GUIDE} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY docs/images/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs/images)
install(FILES editors/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR}/editors)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The CMake package: imported targets OrrinRC::orrinrc, OrrinRC::orrinrc-check,
# OrrinRC::orrinrc-dump, OrrinRC::orrinrc-lsp, OrrinRC::orrinrc-preview, and orrinrc_add_resources().
set(ORRINRC_CMAKE_DIR lib/cmake/OrrinRC)
install(EXPORT OrrinRCTargets NAMESPACE OrrinRC:: DESTINATION ${ORRINRC_CMAKE_DIR})
configure_package_config_file(cmake/OrrinRCConfig.cmake.in
  ${PROJECT_BINARY_DIR}/OrrinRCConfig.cmake
  INSTALL_DESTINATION ${ORRINRC_CMAKE_DIR})
# The programs run on the build machine whatever the consumer compiles for,
# so the version check ignores the consumer's pointer size.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrrinRCConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES
  ${PROJECT_BINARY_DIR}/OrrinRCConfig.cmake
  ${PROJECT_BINARY_DIR}/OrrinRCConfigVersion.cmake
  cmake/OrrinRCResources.cmake
  cmake/OrrinRCEmbed.cmake
  DESTINATION ${ORRINRC_CMAKE_DIR})

# Debian package.
set(CPACK_PACKAGE_NAME orrinrc)
set(CPACK_PACKAGE_VENDOR "the orrinrc developers")
set(CPACK_PACKAGE_CONTACT "the orrinrc developers <orrinrc@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resource compiler for Orrin applications")
set(CPACK_PACKAGE_DESCRIPTION "orrinrc turns a resource text and its BMP pictures into resource.bin and
resource.h. orrinrc-check reports mistakes in a resource text with their
file, line and column; orrinrc-dump lists, draws and decompiles resource.bin;
orrinrc-lsp brings the checker into editors as a language server;
orrinrc-preview shows every form on a local web page, drawn again as the
resource text is saved.
A CMake package (find_package(OrrinRC)) compiles resources as part of a build.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Run-time libraries (libpng for orrinrc-dump, the C++ library) as
# dpkg-shlibdeps finds them in the programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake (>= 3.20)")
include(CPack)
