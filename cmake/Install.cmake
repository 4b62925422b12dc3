# The program is installed into a folder of its own: it keeps favorize.cfg and favorlog.txt
# beside itself, so the folder must stay writable by the user who runs it.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/favorizer" CACHE PATH "Folder the program is installed into"
        FORCE)
endif()

# Installed and packaged stripped: the debugging information is 95% of the built program. This
# runs in the install script ahead of the program's own step, which strips when it is set, as
# `cmake --install --strip` would.
install(CODE "set(CMAKE_INSTALL_DO_STRIP TRUE)")
install(TARGETS favorizer RUNTIME DESTINATION .)
install(FILES packaging/favorizer.svg packaging/favorizer.desktop packaging/LiberationSans-LICENSE.txt
        DESTINATION .)
install(PROGRAMS packaging/install-desktop-entry.sh DESTINATION .)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME favorizer)
set(CPACK_PACKAGE_VENDOR "Favorizer")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Favourites lists for an arcade cabinet's launcher")
set(CPACK_PACKAGE_FILE_NAME "favorizer-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
# Every version unpacks into the same folder, favorizer, so a newer one unpacked over an older one
# replaces the program and keeps the settings and log beside it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /favorizer)
set(CPACK_STRIP_FILES ON)
include(CPack)
