# Installs the libraries, their headers and a CMake package (kelWell::kelWell).
include(CMakePackageConfigHelpers)

install(TARGETS kelWell kel_kel kel_cppUtil kel_util kel_Ep kel_Epi kel_Cos
  EXPORT kelWellTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${KELWELL_INSTALL_INCLUDEDIR})
install(DIRECTORY include/ platform/include/ DESTINATION ${KELWELL_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")
install(FILES ${KELWELL_STUB_HEADERS} DESTINATION ${KELWELL_INSTALL_INCLUDEDIR})
install(DIRECTORY idl/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kelWell/idl FILES_MATCHING PATTERN "*.idl")

# Installed libraries find each other next to themselves, whatever the prefix.
set_target_properties(kelWell kel_kel kel_cppUtil kel_util kel_Ep kel_Epi PROPERTIES INSTALL_RPATH "$ORIGIN")

set(KELWELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kelWell)
install(EXPORT kelWellTargets NAMESPACE kelWell:: DESTINATION ${KELWELL_CMAKE_DIR})
configure_package_config_file(cmake/kelWellConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/kelWellConfig.cmake
  INSTALL_DESTINATION ${KELWELL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kelWellConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kelWellConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/kelWellConfigVersion.cmake
  DESTINATION ${KELWELL_CMAKE_DIR})

# The pkg-config file finds its prefix from its own folder, so that an install
# into any --prefix works.
file(RELATIVE_PATH KELWELL_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/kelWell.pc.in ${CMAKE_CURRENT_BINARY_DIR}/kelWell.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kelWell.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
