# The templates in assets/templates become resources DOC1 ... DOC86 of type "FILE".
# Replacing a file there and rebuilding is all it takes; this checks what the program
# relies on before anything is embedded.
set(TEMPLATE_DIR ${CMAKE_SOURCE_DIR}/assets/templates CACHE PATH "Folder of the templates DOC1 ... DOC86")
file(GLOB template_files CONFIGURE_DEPENDS ${TEMPLATE_DIR}/*)

set(TEMPLATE_COUNT 86)
set(DOCUMENT_NUMBERS 75 76 77 78 79)   # Word documents; every other template is a workbook

set(rc_lines "// Generated from assets/templates; do not edit.\nLANGUAGE 0, 0\n")
foreach(n RANGE 1 ${TEMPLATE_COUNT})
  if(n IN_LIST DOCUMENT_NUMBERS)
    set(ext doc)
  else()
    set(ext xls)
  endif()
  set(path ${TEMPLATE_DIR}/DOC${n}.${ext})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "Template DOC${n} is missing: expected ${path}")
  endif()
  list(REMOVE_ITEM template_files ${path})
  file(READ ${path} signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "d0cf11e0a1b11ae1")
    message(FATAL_ERROR "${path} is not an Office 97-2003 compound file")
  endif()
  file(SIZE ${path} size)
  math(EXPR rest "${size} % 512")
  if(NOT rest EQUAL 0)
    message(FATAL_ERROR "${path}: length ${size} is not a whole number of 512-byte sectors")
  endif()
  string(APPEND rc_lines "DOC${n} FILE \"${path}\"\n")
  list(APPEND template_paths ${path})
endforeach()
if(template_files)
  message(FATAL_ERROR "Unexpected files among the templates: ${template_files}")
endif()

file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/templates.rc CONTENT "${rc_lines}")

# Linked into the program and into every test program that opens templates.
add_library(korventa_templates OBJECT ${CMAKE_BINARY_DIR}/generated/templates.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/templates.rc
  PROPERTIES OBJECT_DEPENDS "${template_paths}")
