# Read by cpack for each generator. The Debian package takes only the "deb"
# install component (laid out for /usr, stripped); the archive keeps the default
# install, the portable folder.
if(CPACK_GENERATOR STREQUAL "DEB")
  list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 1 build_and_project)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${build_and_project};deb;/")
  set(CPACK_STRIP_FILES ON)
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
