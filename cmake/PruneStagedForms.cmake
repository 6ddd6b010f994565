# Removes compiled forms from the staged forms folder that no template source has any more
# (a renamed or withdrawn form), since the build itself only ever adds files there.
#   cmake -DFORMS_DIR=<stage>/Tolvad -DCODES_FILE=<file with one form code per line> -P PruneStagedForms.cmake
cmake_minimum_required(VERSION 3.20)
file(STRINGS "${CODES_FILE}" codes)
file(GLOB staged "${FORMS_DIR}/*.qvf")
foreach(file ${staged})
  get_filename_component(code "${file}" NAME_WE)
  if(NOT code IN_LIST codes)
    message(STATUS "Removing ${code}.qvf, which no form source has")
    file(REMOVE "${file}")
  endif()
endforeach()
