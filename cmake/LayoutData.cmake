# Copies the shipped data folder SRC into DST beside the executable.
# Files the program itself writes (settings, profiles, macros) are copied only
# when they are missing, so a rebuild never overwrites what a user changed.
# The scene (qml/) and the catalogue are compiled in and not copied.
include(${CMAKE_CURRENT_LIST_DIR}/WrittenByProgram.cmake)
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(rel IN LISTS files)
  if(rel MATCHES "^qml/" OR rel MATCHES "\\.qrc$" OR rel STREQUAL "DevInfo.ini")
    continue()
  endif()
  set(target ${DST}/${rel})
  if(rel MATCHES "${Q3_WRITTEN_BY_PROGRAM}")
    if(EXISTS ${target})
      continue()
    endif()
  endif()
  get_filename_component(dir ${target} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(COPY_FILE ${SRC}/${rel} ${target} ONLY_IF_DIFFERENT)
endforeach()

# A first start finds one profile file per on-board profile, each a copy of
# the factory profile, so every page shows the keyboard's factory state.
if(EXISTS ${SRC}/setting/pD.bin AND EXISTS ${SRC}/setting/HWDef.bin)
  file(STRINGS ${SRC}/setting/HWDef.bin limit REGEX "^maxProfile=")
  string(REGEX REPLACE "^maxProfile=([0-9]+).*" "\\1" profiles "${limit}")
  if(profiles MATCHES "^[0-9]+$")
    if(profiles GREATER 10)
      set(profiles 10)
    endif()
    foreach(i RANGE 1 ${profiles})
      if(NOT EXISTS ${DST}/setting/p${i}.bin)
        file(COPY_FILE ${SRC}/setting/pD.bin ${DST}/setting/p${i}.bin)
      endif()
    endforeach()
  endif()
endif()
