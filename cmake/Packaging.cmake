# The Debian package (`cpack -G DEB`): the programs in bin, the files the controller only reads
# in share/mav-controller, the desktop entry, icon, metainfo and man pages. These rules belong to
# the component `package` alone, so a plain `cmake --install` still lays out one program
# directory; the controller finds share/mav-controller beside its bin folder.
set(mav_share share/mav-controller)
set(mav_app_id com.orvanesystems.MavController)
set(mav_packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS mav-controller mav7700-sim mavctl mav-gatewayd RUNTIME DESTINATION bin
        COMPONENT package EXCLUDE_FROM_ALL)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Sounds DESTINATION ${mav_share}
        COMPONENT package EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.wav")
install(FILES "${PROJECT_SOURCE_DIR}/resources/MAV C_Help.html" ${CMAKE_BINARY_DIR}/VOQ_Help.pdf
        DESTINATION ${mav_share} COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${mav_packaging}/${mav_app_id}.desktop DESTINATION share/applications
        COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${mav_packaging}/mav-controller.svg DESTINATION share/icons/hicolor/scalable/apps
        COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${mav_packaging}/${mav_app_id}.metainfo.xml DESTINATION share/metainfo
        COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${mav_packaging}/mav-controller.1 ${mav_packaging}/mav7700-sim.1
              ${mav_packaging}/mavctl.1
        DESTINATION share/man/man1 COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${mav_packaging}/mav-gatewayd.8 DESTINATION share/man/man8
        COMPONENT package EXCLUDE_FROM_ALL)
# The gateway service's units and account; installed, never enabled by the package.
install(FILES ${mav_packaging}/systemd/mav-gatewayd@.service
              ${mav_packaging}/systemd/mav-gatewayd@.socket
        DESTINATION lib/systemd/system COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${mav_packaging}/systemd/mav-controller.sysusers DESTINATION lib/sysusers.d
        RENAME mav-controller.conf COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/docs/control-protocol.md DESTINATION share/doc/mav-controller
        COMPONENT package EXCLUDE_FROM_ALL)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${mav_packaging}/postinst)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mav-controller)
set(CPACK_PACKAGE_VENDOR "Orvane Systems")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "operator's program for the MAV-7700 audio interconnect gateway")
set(CPACK_PACKAGE_DESCRIPTION
    "Connects, monitors and configures the ports of a MAV-7700 gateway over a serial port or TCP; mav-gatewayd serves one gateway to scripts (mavctl), dispatch software and several consoles; with mav7700-sim, a stand-in gateway.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};package;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "MAV Controller developers <mav-controller@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# Building the package is quick next to the build; the sanitizer builds leave it out.
if(NOT MAV_SANITIZE)
  add_test(NAME package COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/check-package.sh
                                ${CMAKE_BINARY_DIR} ${mav_app_id})
  set_tests_properties(package PROPERTIES LABELS package SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
