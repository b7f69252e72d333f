# outage_probe: sixteen crickets ticked every 10 ms on the real sound output, for
# bench/measure-outage.sh, which takes the sound server away and brings it back.
add_executable(outage_probe ${CMAKE_CURRENT_LIST_DIR}/outage_probe.cpp)
target_link_libraries(outage_probe PRIVATE kirorin_core)
