# Installs the libraries, their headers and a package for applications.
#
# Each interface level installs under names of its own, so both can share a
# prefix without mixing:
#   current: lib/, include/kelWell/, find_package(kelWell) -> kelWell::kelWell,
#            pkg-config kelWell
#   earlier: lib/kelWell-earlier/, include/kelWell-earlier/,
#            find_package(kelWellEarlier) -> kelWellEarlier::kelWell,
#            pkg-config kelWell-earlier
# Either level brings its own platform and stub libraries, built from the same
# sources, into its library folder.
include(CMakePackageConfigHelpers)

set(KELWELL_INSTALLED_TARGETS kelWell kel_kel kel_cppUtil kel_util kel_Ep kel_Epi kel_Cos)
if(KELWELL_EARLIER)
  list(APPEND KELWELL_INSTALLED_TARGETS kel_Dos)
endif()
install(TARGETS ${KELWELL_INSTALLED_TARGETS}
  EXPORT kelWellTargets
  LIBRARY DESTINATION ${KELWELL_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${KELWELL_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${KELWELL_INSTALL_INCLUDEDIR})
if(KELWELL_EARLIER)
  # The earlier level has no wellbore list change events.
  set(KELWELL_HEADERS_LEFT_OUT PATTERN "kel_WellBoreListDataChanged*" EXCLUDE)
endif()
install(DIRECTORY include/ platform/include/ DESTINATION ${KELWELL_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h" ${KELWELL_HEADERS_LEFT_OUT})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/include/kel_WellLevel.h ${KELWELL_STUB_HEADERS}
  DESTINATION ${KELWELL_INSTALL_INCLUDEDIR})
install(DIRECTORY idl/ DESTINATION ${CMAKE_INSTALL_DATADIR}/${KELWELL_PACKAGE}/idl FILES_MATCHING PATTERN "*.idl")

# Installed libraries find each other next to themselves, whatever the prefix.
set_target_properties(kelWell kel_kel kel_cppUtil kel_util kel_Ep kel_Epi PROPERTIES INSTALL_RPATH "$ORIGIN")
if(KELWELL_EARLIER)
  set_target_properties(kel_Dos PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()

set(KELWELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/${KELWELL_PACKAGE})
install(EXPORT kelWellTargets NAMESPACE ${KELWELL_PACKAGE}:: DESTINATION ${KELWELL_CMAKE_DIR})
configure_package_config_file(cmake/kelWellConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/${KELWELL_PACKAGE}Config.cmake
  INSTALL_DESTINATION ${KELWELL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${KELWELL_PACKAGE}ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${KELWELL_PACKAGE}Config.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/${KELWELL_PACKAGE}ConfigVersion.cmake
  DESTINATION ${KELWELL_CMAKE_DIR})

# The pkg-config file finds its prefix from its own folder, so that an install
# into any --prefix works.
if(KELWELL_EARLIER)
  set(KELWELL_PC_NAME kelWell-earlier)
  set(KELWELL_PC_LIBS "-lkelWell -lkel_util -lkel_kel -lkel_cppUtil -lkel_Epi -lkel_Ep -lkel_Dos")
else()
  set(KELWELL_PC_NAME kelWell)
  set(KELWELL_PC_LIBS "-lkelWell -lkel_util -lkel_kel -lkel_cppUtil -lkel_Epi -lkel_Ep")
endif()
file(RELATIVE_PATH KELWELL_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/kelWell.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${KELWELL_PC_NAME}.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${KELWELL_PC_NAME}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
