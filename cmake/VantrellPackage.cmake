# What `cmake --install` and the Debian package (`cpack -G DEB`, driven by
# scripts/package.sh) contain beyond the two programs and the desktop entry
# of desktop/CMakeLists.txt: the simulator, the
# manual pages, the shell completions, the copyright file and the changelog
# (src/netd installs the privileged helper).
# Included last, so that every program target exists.
include(GNUInstallDirs)

install(TARGETS vantrell-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# src/netd installs the helper here.
set(VANTRELL_HELPER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/vantrell)

foreach(page vantrell vantrell-configurator vantrell-sim)
  install(FILES ${VANTRELL_DOCS_DIR}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${VANTRELL_DOCS_DIR}/bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME vantrell)
install(FILES ${VANTRELL_DOCS_DIR}/zsh-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions RENAME _vantrell)

# The changelog's newest entry names the version being packaged.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^vantrell \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: its first entry is not for ${PROJECT_VERSION}")
endif()
set(changelog_gz ${VANTRELL_DOCS_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTRELL_DOCS_DIR}
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog_gz}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Changelog")
add_custom_target(vantrell_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog_gz}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantrell)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vantrell)

# Everything the package holds, for scripts/package.sh to build alone.
add_custom_target(vantrell_package_contents)
add_dependencies(vantrell_package_contents vantrell vantrell-configurator vantrell-sim
                 vantrell_docs vantrell_changelog)
if(TARGET vantrell-netd)
  add_dependencies(vantrell_package_contents vantrell-netd)
endif()

# ---- Debian package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrell)
set(CPACK_PACKAGE_VENDOR "VANTRELL Configurator developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "find and configure industrial Ethernet switches and video servers")
set(CPACK_PACKAGE_DESCRIPTION
    "VANTRELL Configurator finds the ORV industrial Ethernet switches and the
Kavex video servers on the local network and configures them: unlock,
passwords, address settings, configuration export and import, firmware
upgrade, Set Default and the web console.
.
The package holds the command-line tool vantrell, the desktop window
vantrell-configurator, the device simulator vantrell-sim and the privileged
helper vantrell-netd, the only program given the CAP_NET_ADMIN capability,
which reaches devices on other subnets through temporary ARP entries and
host routes.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VANTRELL Configurator developers <dev@vantrell.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# setcap for the maintainer script; xdg-open for `vantrell web`.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcap2-bin")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(VANTRELL_NETD_PATH ${CPACK_PACKAGING_INSTALL_PREFIX}/${VANTRELL_HELPER_DIR}/vantrell-netd)
configure_file(${PROJECT_SOURCE_DIR}/packaging/postinst.in ${PROJECT_BINARY_DIR}/packaging/postinst
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
include(CPack)
