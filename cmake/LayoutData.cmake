# Copies the shipped data folder SRC into DST beside the executable.
# Files the program itself writes (settings, profiles, macros) are copied only
# when they are missing, so a rebuild never overwrites what a user changed.
# The scene (qml/) and the catalogue are compiled in and not copied.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(rel IN LISTS files)
  if(rel MATCHES "^qml/" OR rel MATCHES "\\.qrc$" OR rel STREQUAL "DevInfo.ini")
    continue()
  endif()
  set(target ${DST}/${rel})
  if(rel MATCHES "^setting/(apConfig|p[0-9]+)\\.bin$" OR rel MATCHES "^macro/")
    if(EXISTS ${target})
      continue()
    endif()
  endif()
  get_filename_component(dir ${target} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(COPY_FILE ${SRC}/${rel} ${target} ONLY_IF_DIFFERENT)
endforeach()
