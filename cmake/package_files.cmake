# Run by CPack once the package's files are staged: adds the files only a
# Debian package has. The changelog is compressed without a name or time
# stamp so that the same sources make the same package.
set(package_root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc_dir ${package_root}/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc_dir})
execute_process(
  COMMAND gzip -9n
  INPUT_FILE ${CPACK_CADENZO_CHANGELOG}
  OUTPUT_FILE ${doc_dir}/changelog.Debian.gz
  COMMAND_ERROR_IS_FATAL ANY)
file(CHMOD ${doc_dir}/changelog.Debian.gz PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The package is made by the project, not uploaded to Debian: its first
# changelog entry closes no intent-to-package bug.
set(overrides_dir ${package_root}/share/lintian/overrides)
file(MAKE_DIRECTORY ${overrides_dir})
file(WRITE ${overrides_dir}/${CPACK_PACKAGE_NAME}
     "${CPACK_PACKAGE_NAME}: initial-upload-closes-no-bugs [usr/share/doc/${CPACK_PACKAGE_NAME}/changelog.Debian.gz:1]\n")
file(CHMOD ${overrides_dir}/${CPACK_PACKAGE_NAME} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
