# What `cmake --install` puts under the prefix, and the Debian package that
# `cpack -G DEB` makes of it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS orrinrc orrinrc-check orrinrc-dump orrinrc-lsp orrinrc-preview EXPORT OrrinRCTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages: every page in man/, by its section. Windows has no man
# command: there they are installed as plain text (share/doc/orrinrc/man/),
# formatted at build time by the build machine's groff.
file(GLOB ORRINRC_MAN1 CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.1)
file(GLOB ORRINRC_MAN5 CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.5)
if(WIN32)
  find_program(ORRINRC_GROFF groff REQUIRED)
  set(ORRINRC_MAN_TEXT "")
  foreach(page IN LISTS ORRINRC_MAN1 ORRINRC_MAN5)
    get_filename_component(name ${page} NAME)
    set(text ${PROJECT_BINARY_DIR}/man/${name}.txt)
    # Plain ASCII: no bold, underline or overstriking.
    add_custom_command(OUTPUT ${text}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND sh -c "\"$1\" -man -Tascii -P-cbou \"$2\" > \"$3\"" sh ${ORRINRC_GROFF} ${page} ${text}
      DEPENDS ${page} VERBATIM)
    list(APPEND ORRINRC_MAN_TEXT ${text})
  endforeach()
  add_custom_target(orrinrc_man_text ALL DEPENDS ${ORRINRC_MAN_TEXT})
  install(FILES ${ORRINRC_MAN_TEXT} DESTINATION ${CMAKE_INSTALL_DOCDIR}/man)
else()
  if(ORRINRC_MAN1)
    install(FILES ${ORRINRC_MAN1} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  if(ORRINRC_MAN5)
    install(FILES ${ORRINRC_MAN5} DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
  endif()
endif()

# The licence: beside the programs on Windows, as the package's copyright
# file in the documentation folder elsewhere (where Debian looks for it).
if(WIN32)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
else()
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
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

# Debian package (cpack -G DEB), or on Windows a ZIP file
# (cpack -G ZIP: orrinrc-<version>-win64.zip).
set(CPACK_PACKAGE_NAME orrinrc)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
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
