kirorin_fuzzer(wave fuzz_wave.cpp)

# The seed corpus: images made by the tests' WAVE builder, plus the program's own recordings.
add_executable(wave_seeds wave_seeds.cpp)
target_include_directories(wave_seeds PRIVATE ${CMAKE_SOURCE_DIR})
set(wave_seed_dir ${CMAKE_CURRENT_BINARY_DIR}/fuzz_wave_seeds)
add_custom_command(
  OUTPUT ${wave_seed_dir}/pcm-mono.wav
  COMMAND ${CMAKE_COMMAND} -E make_directory ${wave_seed_dir}
  COMMAND wave_seeds ${wave_seed_dir}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/res/129.wav ${CMAKE_BINARY_DIR}/res/130.wav
          ${wave_seed_dir}
  DEPENDS wave_seeds kirorin_waves ${CMAKE_BINARY_DIR}/res/129.wav ${CMAKE_BINARY_DIR}/res/130.wav
  COMMENT "Writing the seed corpus for fuzz_wave"
  VERBATIM)
add_custom_target(fuzz_wave_seeds ALL DEPENDS ${wave_seed_dir}/pcm-mono.wav)
