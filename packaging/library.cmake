# Installing the 2D library for programs of one's own (the "dev" component, the vork-dev package):
#   PREFIX/include/vork/         the library's headers and the declared platform headers, by folder
#   PREFIX/LIBDIR/libvork_*.a    the library, the platform, the hosts and the two mains
#   PREFIX/LIBDIR/cmake/vork/    find_package(vork): vork::vork, vork::host_sdl, vork::host_headless,
#                                vork::main (SDL host) and vork::main_headless
#   PREFIX/LIBDIR/pkgconfig/     vork.pc (SDL host and main), vork-headless.pc
#   PREFIX/share/doc/vork-dev/   copyright, changelog and the example's source
include(CMakePackageConfigHelpers)

set(VORK_DEV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vork-dev)
# LIBDIR: the multiarch folder (lib/x86_64-linux-gnu) wherever the system has one, whatever the
# prefix, so that the package's pkg-config files are found in cross builds too.
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(VORK_LIB_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
else()
  set(VORK_LIB_DIR ${CMAKE_INSTALL_LIBDIR})
endif()
set(VORK_CMAKE_DIR ${VORK_LIB_DIR}/cmake/vork)
set(VORK_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/vork)

foreach(folder winapi display image input sound vector)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/${folder} DESTINATION ${VORK_INCLUDE_DIR} COMPONENT dev
          FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/src/soft/host.h DESTINATION ${VORK_INCLUDE_DIR}/soft COMPONENT dev)
foreach(host headless sdl)
  install(FILES ${PROJECT_SOURCE_DIR}/src/hosts/${host}/${host}_host.h
          DESTINATION ${VORK_INCLUDE_DIR}/hosts/${host} COMPONENT dev)
endforeach()

# Target names as users see them, vork::<name>.
set_target_properties(vork_lib PROPERTIES EXPORT_NAME vork)
set_target_properties(vork_platform PROPERTIES EXPORT_NAME platform)
set_target_properties(vork_host_common PROPERTIES EXPORT_NAME host_common)
set_target_properties(vork_host_sdl PROPERTIES EXPORT_NAME host_sdl)
set_target_properties(vork_host_headless PROPERTIES EXPORT_NAME host_headless)
set_target_properties(vork_sdl_main PROPERTIES EXPORT_NAME main)
set_target_properties(vork_headless_main PROPERTIES EXPORT_NAME main_headless)
install(TARGETS vork_lib vork_platform vork_host_common vork_host_sdl vork_host_headless vork_sdl_main
                vork_headless_main
        EXPORT vorkTargets ARCHIVE DESTINATION ${VORK_LIB_DIR} COMPONENT dev)
install(EXPORT vorkTargets NAMESPACE vork:: DESTINATION ${VORK_CMAKE_DIR} COMPONENT dev)

# The config finds the libraries the static ones were linked against, under the same names.
if(X11_FOUND)
  set(VORK_X11_MODULE x11)
endif()
configure_package_config_file(vorkConfig.cmake.in ${VORK_GEN}/vorkConfig.cmake INSTALL_DESTINATION ${VORK_CMAKE_DIR})
write_basic_package_version_file(${VORK_GEN}/vorkConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${VORK_GEN}/vorkConfig.cmake ${VORK_GEN}/vorkConfigVersion.cmake DESTINATION ${VORK_CMAKE_DIR}
        COMPONENT dev)

# pkg-config files find their prefix relative to themselves, so a tree installed anywhere works.
# The shared libraries the static ones use are under Requires, not Requires.private: the latter
# would need --static, which also asks for static builds of those libraries' own dependencies.
file(RELATIVE_PATH VORK_PC_TO_PREFIX /${VORK_LIB_DIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" VORK_PC_TO_PREFIX "${VORK_PC_TO_PREFIX}")
foreach(pc vork vork-headless)
  configure_file(${pc}.pc.in ${VORK_GEN}/${pc}.pc @ONLY)
  install(FILES ${VORK_GEN}/${pc}.pc DESTINATION ${VORK_LIB_DIR}/pkgconfig COMPONENT dev)
endforeach()

install(FILES copyright ${VORK_GEN}/changelog.gz DESTINATION ${VORK_DEV_DOC_DIR} COMPONENT dev)
install(FILES ${PROJECT_SOURCE_DIR}/examples/robot_walk/robot_walk.cpp
              ${PROJECT_SOURCE_DIR}/examples/robot_walk/CMakeLists.txt
              ${PROJECT_SOURCE_DIR}/examples/robot_walk/Makefile
        DESTINATION ${VORK_DEV_DOC_DIR}/examples/robot_walk COMPONENT dev)

# Installs the library into a scratch prefix and builds and runs the example against it, with
# find_package and with pkg-config. The example is built with the sanitizers the library was.
if(VORK_SANITIZE)
  set(VORK_SANITIZER_FLAGS "-fsanitize=address,undefined")
endif()
add_test(NAME install_library
  COMMAND ${CMAKE_SOURCE_DIR}/tests/install/library_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
          "${VORK_SANITIZER_FLAGS}")
set_tests_properties(install_library PROPERTIES TIMEOUT 600)
