# The Debian package that `cpack -G DEB` (make package) builds from the install rules:
# toven_<version>_<arch>.deb, everything under /usr, its library dependencies worked out from
# the binary by dpkg-shlibdeps (dpkg-dev): Qt and libcups among them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME toven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "toven maintainers <maintainers@users.noreply.c-seed-ca5a6964.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive plotter of surfaces z = f(x,y)")
set(CPACK_PACKAGE_DESCRIPTION
    "toven draws a surface z = f(x,y) as a mesh of curves in a parallel projection,
with the hidden parts removed. The formula is written in x and y with five
parameters a to e, the arithmetic operators, powers, |x| and twelve built-in
functions; the box, the mesh, the tilt, the colour, a frame box and axes are
set in data windows. Beside the surface the page lists the data and the
formula, and a mini grid reads out f(x,y) under the mouse. The page can be
printed on the default printer.
.
From the command line, toven --render draws a page into a PNG, PDF or SVG file
without a display, animates a parameter into a looping GIF, and writes the
surface as a closed STL solid for a 3-D printer; toven --eval evaluates a
formula at a point.
.
The data are kept in data files (.toven) of NAME=VALUE lines, and every picture
toven writes carries its data, so that it can be opened again.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the page's text is measured in Liberation Serif, which stands in
# for "Times New Roman" with the same metrics.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# Its trigger on /usr/share/mime/packages teaches the desktop the data file type.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
