# Builds TiKoDan's sound files into ${TKD_DIST_DIR}/sound with tools/make_sounds.sh (target tkd_sounds).
if(NOT DEFINED TKD_DIST_DIR)
  set(TKD_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
endif()

set(TKD_SOUND_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make_sounds.sh)
set(TKD_SOUND_DIR ${TKD_DIST_DIR}/sound)
set(TKD_SOUND_FILES ${TKD_SOUND_DIR}/default.wav)
foreach(hour RANGE 0 23)
  list(APPEND TKD_SOUND_FILES ${TKD_SOUND_DIR}/zdbs${hour}.wav)
endforeach()

find_program(TKD_BASH bash REQUIRED)
add_custom_command(
  OUTPUT ${TKD_SOUND_FILES}
  COMMAND ${TKD_BASH} ${TKD_SOUND_SCRIPT} ${TKD_SOUND_DIR}
  DEPENDS ${TKD_SOUND_SCRIPT}
  COMMENT "Synthesising sound files into ${TKD_SOUND_DIR}"
  VERBATIM)
add_custom_target(tkd_sounds DEPENDS ${TKD_SOUND_FILES})
