# The Windows installer, Korventa-<version>-setup.exe, made with NSIS's makensis (Debian
# package nsis) from the built Korventa.exe. Not part of the default build: `make dist` and
# the installer test build it through the `installer` target.
find_program(MAKENSIS makensis)
set(KORVENTA_INSTALLER ${CMAKE_BINARY_DIR}/Korventa-${PROJECT_VERSION}-setup.exe)
set(installer_script ${CMAKE_CURRENT_LIST_DIR}/Korventa.nsi)

if(MAKENSIS)
  add_custom_command(OUTPUT ${KORVENTA_INSTALLER}
    COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8
            -DVERSION=${PROJECT_VERSION}
            -DEXE=$<TARGET_FILE:Korventa>
            -DICON=${KORVENTA_ASSETS}/korventa.ico
            -DOUTFILE=${KORVENTA_INSTALLER}
            ${installer_script}
    DEPENDS Korventa ${installer_script} ${KORVENTA_ASSETS}/korventa.ico
    COMMENT "Making the installer Korventa-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
else()
  add_custom_command(OUTPUT ${KORVENTA_INSTALLER}
    COMMAND ${CMAKE_COMMAND} -E echo "makensis not found: install the Debian package nsis (cmake/install-deps.sh nsis)"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
add_custom_target(installer DEPENDS ${KORVENTA_INSTALLER})
# For the installer test, configured before this file is read.
set_target_properties(installer PROPERTIES KORVENTA_INSTALLER_FILE ${KORVENTA_INSTALLER})

# `make dist`: the portable program and its installer side by side, nothing else.
set(KORVENTA_DIST_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Where `make dist` puts the program and its installer")
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KORVENTA_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVENTA_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Korventa> ${KORVENTA_DIST_DIR}/Korventa.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${KORVENTA_INSTALLER} ${KORVENTA_DIST_DIR}/
  DEPENDS installer
  COMMENT "dist: Korventa.exe and Korventa-${PROJECT_VERSION}-setup.exe in ${KORVENTA_DIST_DIR}"
  VERBATIM)
