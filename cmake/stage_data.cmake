# Copies SRC into DST, file by file, skipping every file that already exists,
# so settings, exams and reports written by the program are never overwritten.
file(GLOB_RECURSE files RELATIVE "${SRC}" LIST_DIRECTORIES true "${SRC}/*")
foreach(rel ${files})
  if(IS_DIRECTORY "${SRC}/${rel}")
    file(MAKE_DIRECTORY "${DST}/${rel}")
  elseif(NOT EXISTS "${DST}/${rel}" AND NOT rel MATCHES "(^|/)\\.keep$")
    get_filename_component(dir "${DST}/${rel}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY "${SRC}/${rel}" DESTINATION "${dir}")
  endif()
endforeach()
