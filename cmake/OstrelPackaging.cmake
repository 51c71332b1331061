# The Debian package: `cpack -G DEB` in the build tree, or `cmake --build build --target package`.
# It holds what `cmake --install` installs. Library dependencies are left to dpkg-shlibdeps (from
# dpkg-dev), so they follow whatever the program links against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrel)
set(CPACK_PACKAGE_VENDOR Brellway)
set(CPACK_PACKAGE_CONTACT "${OSTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${OSTREL_PROJECT_URL}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "camera viewer for USB cameras: live picture, snapshots, recording")
# One paragraph, in lines short enough for package managers that do not wrap them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Ostrel shows the live picture of a USB webcam or any other Video4Linux2"
    "capture device, saves snapshots of it as PNG or JPEG files and records it"
    "into Motion-JPEG AVI files at a steady frame rate. The picture can be"
    "mirrored and rotated, and the camera's brightness and contrast set from"
    "the window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (dialog buttons, the command line's help) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)

# The package builds and dpkg-shlibdeps found the libraries the program links against. Only in
# plain builds: a sanitizer build's program is not one to ship.
find_program(DPKG_SHLIBDEPS_EXECUTABLE dpkg-shlibdeps)
if(DPKG_SHLIBDEPS_EXECUTABLE AND NOT OSTREL_SANITIZE)
    add_test(NAME package_deb
             COMMAND sh -c [[rm -rf "$1" && "$2" -G DEB -B "$1" --config "$3" >/dev/null && deb=$(ls "$1"/ostrel_*.deb) && dpkg-deb -f "$deb" Depends | grep libqt6widgets6 && dpkg-deb -c "$deb" | grep ' ./usr/bin/ostrel$']]
                     sh ${PROJECT_BINARY_DIR}/package-test ${CMAKE_CPACK_COMMAND}
                     ${PROJECT_BINARY_DIR}/CPackConfig.cmake)
    set_tests_properties(package_deb PROPERTIES TIMEOUT 300)
endif()
