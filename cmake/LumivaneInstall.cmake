# Installation and the Debian package. Programs go to bin, the three libraries to lib/<multiarch> with
# their SONAME links (headers and pkg-config files in the "dev" component), the files the programs read
# from their own folder to share/lumivane (found there by programFilesFolder()), and the system files of
# the service: its unit, sysusers.d and tmpfiles.d entries, desktop entry, icon and manual pages.
include(GNUInstallDirs)

set(LUMIVANE_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/lumivane)

foreach(program lumictl lumiwatch lumidesk lumisim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
    endif()
endforeach()

foreach(library tessera traitbook corvalink)
    install(TARGETS ${library}
            LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
endforeach()
install(FILES TESSERA/include/tessera.h traitbook/include/traitbook.h corvalink/include/corvalink.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumivane COMPONENT dev)
# pkg-config files find the prefix from where they lie, so that a staged or moved tree stays right.
file(RELATIVE_PATH LUMIVANE_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
foreach(library tessera traitbook corvalink)
    set(LUMIVANE_PC_NAME ${library})
    configure_file(packaging/library.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/${library}.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/${library}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
            COMPONENT dev)
endforeach()

install(FILES ${CMAKE_BINARY_DIR}/bin/ModelName.txt ${CMAKE_BINARY_DIR}/bin/CommandName.csv
        DESTINATION ${LUMIVANE_SHARE_DIR} COMPONENT runtime)

# The service and the desktop.
install(FILES packaging/lumiwatch.service DESTINATION lib/systemd/system COMPONENT runtime)
install(FILES packaging/lumivane.sysusers DESTINATION lib/sysusers.d RENAME lumivane.conf COMPONENT runtime)
install(FILES packaging/lumivane.tmpfiles DESTINATION lib/tmpfiles.d RENAME lumivane.conf COMPONENT runtime)
if(TARGET lumidesk)
    install(FILES packaging/lumidesk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT runtime)
    install(FILES packaging/lumidesk.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            COMPONENT runtime)
endif()
# The tray server starts with every desktop session (where no service runs it: a second start only hands
# over to the running server). A configuration file: an administrator may add Hidden=true to switch it off.
if(TARGET lumiwatch_shell)
    install(FILES packaging/lumiwatch-autostart.desktop DESTINATION /etc/xdg/autostart
            RENAME lumiwatch.desktop COMPONENT runtime)
endif()
install(FILES packaging/lumictl.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME lumictl COMPONENT runtime)

# The package's own documents.
set(LUMIVANE_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${LUMIVANE_CHANGELOG}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/packaging/debian/changelog ${LUMIVANE_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
    VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${LUMIVANE_CHANGELOG})
install(FILES ${LUMIVANE_CHANGELOG} packaging/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumivane
        COMPONENT runtime)

# Manual pages from their scdoc sources, when scdoc is there.
find_program(LUMIVANE_SCDOC scdoc)
if(LUMIVANE_SCDOC)
    set(pages)
    foreach(source lumictl.1 lumiwatch.8 lumisim.1 lumidesk.1 lumivane-files.5)
        string(REGEX MATCH "[0-9]$" section ${source})
        set(page ${CMAKE_BINARY_DIR}/man/${source}.gz)
        add_custom_command(OUTPUT ${page}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND sh -c "\"$0\" < \"$1\" | gzip -9n > \"$2\"" ${LUMIVANE_SCDOC}
                    ${PROJECT_SOURCE_DIR}/packaging/man/${source}.scd ${page}
            DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/${source}.scd
            COMMENT "Manual page ${source}"
            VERBATIM)
        list(APPEND pages ${page})
        install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT runtime)
    endforeach()
    add_custom_target(manpages ALL DEPENDS ${pages})
endif()

# The Debian package: `cpack -G DEB` in the build folder (tools/package does it all).
set(CPACK_PACKAGE_NAME lumivane)
set(CPACK_PACKAGE_VENDOR "Lumivane")
set(CPACK_PACKAGE_CONTACT "Lumivane developers <lumivane@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "administration of a fleet of large display monitors")
set(CPACK_PACKAGE_DESCRIPTION "Lumivane registers large professional display monitors (by hand, or by\n\
searching COM ports and the LAN), arranges them in groups, switches power\n\
and inputs, sends picture and sound settings, lays them out as video walls,\n\
runs weekly and date-bound schedules, polls their health and mails error\n\
notices and reports.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "acl, passwd")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-mta | mail-transport-agent, msmtp-mta")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/prerm
    ${PROJECT_SOURCE_DIR}/packaging/debian/postrm ${PROJECT_SOURCE_DIR}/packaging/debian/triggers
    ${PROJECT_SOURCE_DIR}/packaging/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENTS_ALL runtime)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(LUMIVANE_BUILD_TESTS)
    add_test(NAME installed_layout
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
    set_tests_properties(installed_layout PROPERTIES LABELS install TIMEOUT 120)
endif()
# The package test needs the release build's programs (a sanitizer build would package its runtime).
if(LUMIVANE_BUILD_TESTS AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
    add_test(NAME debian_package COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/check-package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(debian_package PROPERTIES LABELS install TIMEOUT 300)
endif()
