# bench_tick: sixteen crickets' Tick per 10 ms tick (cricket logic, stopwatch and buffer polling).
add_executable(bench_tick ${CMAKE_CURRENT_LIST_DIR}/tick.cpp)
target_link_libraries(bench_tick PRIVATE kirorin_core benchmark::benchmark)
