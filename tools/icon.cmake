# The icon's drawings live in res/icon; its renderer needs Qt, so only the windowing build has it.
if(TARGET kirorin_ui)
  add_subdirectory(${CMAKE_SOURCE_DIR}/res/icon ${CMAKE_BINARY_DIR}/res/icon)
endif()
