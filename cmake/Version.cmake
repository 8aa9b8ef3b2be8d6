# The version resource of Korventa.exe. The version itself is set in one place only, the
# project() call of the top-level CMakeLists.txt; the resource, the installer and the tests
# all take it from there.
set(KORVENTA_DESCRIPTION "Корвента — налоговые регистры")
set(KORVENTA_COMPANY "Корвента")
set(KORVENTA_COPYRIGHT "© 2026 Корвента")

configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.rc.in ${CMAKE_BINARY_DIR}/generated/Version.rc @ONLY)
target_sources(Korventa PRIVATE ${CMAKE_BINARY_DIR}/generated/Version.rc)

# The installer carries the same version in its name and its uninstall entry.
include(${CMAKE_CURRENT_LIST_DIR}/installer/Installer.cmake)
