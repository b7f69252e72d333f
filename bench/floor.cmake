# The least a program of this shape costs: a Qt program with a hidden window, a 10 ms precise
# timer reading the local time and the pointer, and SDL playing silence in the chorus's format.
# bench/measure-cpu.sh compares the real program against it.
if(TARGET kirorin_ui)
  add_executable(floor_program ${CMAKE_CURRENT_LIST_DIR}/floor.cpp)
  target_link_libraries(floor_program PRIVATE Qt6::Widgets PkgConfig::SDL2)
endif()
