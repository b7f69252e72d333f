# kirorin-dialog-preview: shows the settings dialog with the default settings, for looking at it
# and for tools/screenshot-dialog.sh.
if(TARGET kirorin_ui)
  add_executable(kirorin-dialog-preview ${CMAKE_CURRENT_LIST_DIR}/dialog_preview.cpp)
  target_link_libraries(kirorin-dialog-preview PRIVATE kirorin_ui)
endif()
