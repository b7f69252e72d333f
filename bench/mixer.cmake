# Our mixer against OpenAL Soft's loopback device: 16 chirps for 60 s at 48000 Hz stereo.
# Dithering and the limiter would cost OpenAL time our mixer does not spend.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/alsoft-bench.conf "[general]\ndither = false\noutput-limiter = false\n")
add_executable(bench_mixer
  ${CMAKE_CURRENT_LIST_DIR}/mixer_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mixer_chorus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mixer_openal.cpp)
target_compile_definitions(bench_mixer PRIVATE
  ALSOFT_BENCH_CONF="${CMAKE_CURRENT_BINARY_DIR}/alsoft-bench.conf")
target_link_libraries(bench_mixer PRIVATE kirorin_core kirorin_spectrum benchmark::benchmark
                                          OpenAL::OpenAL)
