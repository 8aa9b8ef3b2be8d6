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

# How the executable is laid out for release, both measured by `make bench` (docs/performance.md):
# - no symbol tables or debug sections: those of the static C++ runtime alone would more than
#   double the size of the program's own code;
# - sections aligned to whole pages in the file as in memory, so that a loader can map the
#   image straight from the file. Wine copies an image whose sections are not page-aligned
#   into private memory, and with it all the embedded templates; mapped, they stay shared
#   file pages that are read only when a click writes them out.
if(MINGW)
  target_link_options(Korventa PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s> -Wl,--file-alignment=4096)
endif()
