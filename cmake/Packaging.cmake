# The Debian package: `cpack -G DEB` in the build folder (or scripts/package)
# makes tonalith_<version>_<arch>.deb from what `cmake --install` installs,
# under /usr.

# Debian expects "Name <address>" here; the project has no address to give
# yet, so lintian reports malformed-contact until one is added.
set(TONALITH_MAINTAINER "The Tonalith developers")

# Debian's copyright file and changelog (a native package's changelog.gz,
# with one entry for this version) beside the README and LICENSE.
string(TIMESTAMP TONALITH_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(cmake/debian/changelog.in debian/changelog @ONLY)
add_custom_command(OUTPUT debian/changelog.gz
  COMMAND gzip -9n -c changelog > changelog.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/debian
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS debian/changelog.gz)
install(FILES cmake/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME tonalith)
set(CPACK_PACKAGE_VENDOR "The Tonalith developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "convert single-cycle waveforms and harmonic spectra for synthesizers")
set(CPACK_PACKAGE_DESCRIPTION
    "Formats: audio, text, Csound tables, Yoshimi scripts, Microwave II/XT dumps.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package holds the program without its debugging symbols.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TONALITH_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the shared libraries the program is linked
# against, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Folders are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
