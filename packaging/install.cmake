# Install and package, included at the end of the top CMakeLists.txt: what `cmake --install`
# puts under the prefix and what the Debian package (`cpack` in the build folder) holds. That is
# exactly: the three programs, stripped; the compile worker the harness starts for each shader
# compile, stripped, in libexec/tessaline (where the programs look for it, from their bin
# folder); the default assets by name; the README, the copyright
# file and the changelog; a man page for each program, made from its --help at build time; and
# a desktop entry that starts tessaline on the installed assets.
include(GNUInstallDirs)

# Stripped unless asked otherwise (cmake -DCMAKE_INSTALL_DO_STRIP=0 -P cmake_install.cmake):
# the programs carry their debugging information in the build folder only.
install(CODE [[
if(NOT DEFINED CMAKE_INSTALL_DO_STRIP)
  set(CMAKE_INSTALL_DO_STRIP 1)
endif()
]])
install(TARGETS tessaline tessaline-snapshot tessaline-compile
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tessaline-compile-worker RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tessaline)
install(FILES
  assets/vertex.vsh assets/pixel.psh assets/Tiger.x assets/seafloor.x
  assets/tiger_coat.bmp assets/tiger_muzzle.bmp assets/sand.bmp
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tessaline)

# The changelog as Debian keeps it: the package's version, in the changelog format, packed.
# The date of the build (SOURCE_DATE_EPOCH where set, for reproducible packages), to the day.
string(TIMESTAMP tess_changelog_date "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file(packaging/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9n -f -k ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
  VERBATIM)
install(FILES README.md packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Man pages from the programs' --help (see packaging/make_man_page.cmake).
add_executable(help_to_man packaging/help_to_man.cpp)
tess_target(help_to_man)
set(tess_summary_tessaline "interactive test harness for Direct3D 9 shaders and X meshes")
set(tess_see_tessaline "tessaline-snapshot(1) tessaline-compile(1)")
set(tess_summary_tessaline-snapshot "render Tessaline headless to PNG files and check its frames")
set(tess_see_tessaline-snapshot "tessaline(1) tessaline-compile(1)")
set(tess_summary_tessaline-compile "compile an HLSL shader as Tessaline does and show its constants")
set(tess_see_tessaline-compile "tessaline(1) tessaline-snapshot(1)")
set(tess_man_pages)
foreach(program tessaline tessaline-snapshot tessaline-compile)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program} -DSECTION=1
      -DVERSION=${PROJECT_VERSION} -DSUMMARY=${tess_summary_${program}}
      -DSEE_ALSO=${tess_see_${program}} -DCONVERTER=$<TARGET_FILE:help_to_man> -DOUTPUT=${page}
      -P ${PROJECT_SOURCE_DIR}/packaging/make_man_page.cmake
    DEPENDS ${program} help_to_man ${PROJECT_SOURCE_DIR}/packaging/make_man_page.cmake
    COMMENT "Man page of ${program} from its --help"
    VERBATIM)
  list(APPEND tess_man_pages ${page})
endforeach()
add_custom_target(tess_package_files ALL
  DEPENDS ${tess_man_pages} ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${tess_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The desktop entry names the program and the assets folder of the prefix installed to, known only
# at install time.
install(CODE "set(TESS_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
set(TESS_BINARY_DIR \"${CMAKE_CURRENT_BINARY_DIR}\")
set(TESS_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
set(TESS_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
include(\"${PROJECT_SOURCE_DIR}/packaging/install_desktop_entry.cmake\")")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaline)
set(CPACK_PACKAGE_VENDOR "The Tessaline developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "Tessaline developers <tessaline@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive test harness for Direct3D 9 rendering")
# Wrapped by hand: the package's extended description keeps its lines under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Tessaline shows an HLSL vertex and pixel shader and two meshes from
DirectX X files, with their materials and textures, rendered as Direct3D 9
would render them, on Linux with OpenGL 3.3. A free-look camera flies through
the scene and five keys toggle the overlay, wireframe, mouse look, rotation
and the pixel shader. tessaline-snapshot renders the same program headless to
PNG files and can fail a CI run on a compile error, a message box or a frame
that differs from a reference picture; it explains a pixel's colour draw by
draw. tessaline-compile compiles a shader as the harness does and prints its
messages, constant table and instruction slot estimate.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# What runs it beside the libraries shlibdeps finds: libepoxy and SDL load the OpenGL and EGL
# libraries at run time, Mesa's drivers render (llvmpipe where there is no GPU), and the overlay
# needs a font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1, libgl1-mesa-dri, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# The package installs under /usr. CPack stages with DESTDIR, so that the install sees /usr as
# its prefix and the desktop entry names /usr/share/tessaline, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
