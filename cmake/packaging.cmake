# Packages made by cpack from a build folder (scripts/package makes both):
#   Linux (preset linux-release): tunelathe_<version>_<arch>.deb, the program,
#     its menu entry and icons under /usr; dependencies found by dpkg-shlibdeps.
#   Windows (preset win32): tunelathe-<version>-win32.zip, a folder holding
#     tunelathe.exe, which needs no DLL beyond Windows' own, and README.txt.
# What goes in is what `cmake --install` puts into the install prefix (the
# install rules of app/ and resources/).
set(CPACK_PACKAGE_NAME tunelathe)
set(CPACK_PACKAGE_VENDOR "The Tunelathe project")
set(CPACK_PACKAGE_CONTACT "The Tunelathe project <tunelathe@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "playlist editor for music players that run RockBox")
# Symbols and debug information stay in the build folder.
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(windows_flavour win32)
    else()
        set(windows_flavour win64)
    endif()
    # Unpacked, the zip gives one folder named like the file.
    set(CPACK_PACKAGE_FILE_NAME tunelathe-${PROJECT_VERSION}-${windows_flavour})
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tunelathe_<version>_<arch>.deb
    set(CPACK_DEBIAN_PACKAGE_SECTION sound)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
    # The summary above is the first line; this is the long description.
    set(CPACK_PACKAGE_DESCRIPTION
        "Tunelathe builds playlists for portable music players that run the RockBox
firmware. Drag audio or video files from the player onto the list: each path
is rewritten into the form the player sees. Delete, move and shuffle tracks,
save the list as an M3U playlist and load it back, and listen to the tracks
while you work.")
    # The libraries the program links come from dpkg-shlibdeps; the plugins
    # GStreamer loads at run time it cannot see: playbin (base) and pulsesink
    # (good), without which the program finds no sound.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
endif()
include(CPack)
