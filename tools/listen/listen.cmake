# kirorin-listen: plays the chirp through the sound card, or renders it into a WAV file, at a
# given pitch, volume and pan, so that people can hear what the mixer makes.
add_executable(kirorin-listen
  ${CMAKE_CURRENT_LIST_DIR}/listen_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listen_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listen_wav.cpp)
target_link_libraries(kirorin-listen PRIVATE kirorin_core)
if(TARGET test_sound)
  # The sound tests run it against SDL's disk driver.
  add_dependencies(test_sound kirorin-listen)
endif()
