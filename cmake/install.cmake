# The installed tree (GNUInstallDirs), and a Debian package of it made by
# CPack: cmake --preset package && cmake --build --preset package &&
# cpack --preset deb.
install(TARGETS scenario_gen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(scenario_modules)
  install(TARGETS ${scenario_modules} LIBRARY DESTINATION ${scenario_module_dir})
endif()
install(FILES README.md LICENSE docs/authoring.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/examples DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${scenario_bash_completion}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME scenario_gen)
if(scenario_man_page)
  install(FILES ${scenario_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scenario-gen)
set(CPACK_PACKAGE_VENDOR "the scenario_gen authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "scenario generator for a train-driving simulator")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(SCENARIO_PACKAGE_MAINTAINER "the scenario_gen authors <scenario_gen@invalid>" CACHE STRING
  "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SCENARIO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Installed programs and modules carry no symbols, as Debian's do.
set(CPACK_STRIP_FILES ON)
# The dependencies are read off the linked libraries by dpkg-shlibdeps
# (Debian's dpkg-dev) when cpack runs: Depends from the program (libc), and
# Recommends from the modules (FLTK and X11, the HTTP library), which the
# command-line tool does not need (cmake/deb_dependencies.cmake). Without
# dpkg-shlibdeps they are written here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
if(scenario_window)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libfltk1.3, libx11-6")
endif()
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(scenario_module_files)
  foreach(module ${scenario_modules})
    list(APPEND scenario_module_files "$<TARGET_FILE:${module}>")
  endforeach()
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/deb_files.cmake CONTENT
    "set(SCENARIO_DEB_PROGRAM \"$<TARGET_FILE:scenario_gen>\")\nset(SCENARIO_DEB_MODULES \"${scenario_module_files}\")\n")
  configure_file(cmake/deb_dependencies.cmake ${PROJECT_BINARY_DIR}/deb_dependencies.cmake COPYONLY)
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/deb_dependencies.cmake)
endif()
include(CPack)
