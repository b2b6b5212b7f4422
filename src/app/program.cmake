# Halyard.exe: application object and main window.
halyard_library(halyard_main_window
  SOURCES keelson_dlg_init.cpp keelson_dlg_list.cpp keelson_dlg_messages.cpp keelson_dlg_commands.cpp
          keelson_dlg_monitor.cpp keelson_dlg_alerts.cpp keelson_dlg_teardown.cpp
          help_link.cpp position_cells.cpp broker_client_link.cpp monitor_outside.cpp
  DEPS halyard_brokerconfig_dialogs halyard_framework halyard_widgets halyard_rules_dialogs halyard_monitor halyard_alerts_dialogs halyard_alerts halyard_broker
       halyard_brokerconfig halyard_settings halyard_rules_core halyard_common)

add_executable(Halyard WIN32 keelson_app.cpp)
target_link_libraries(Halyard PRIVATE halyard_main_window halyard_resources halyard_options)
target_compile_options(Halyard PRIVATE -municode)
target_link_options(Halyard PRIVATE -municode)
# The OrderSound folder is made beside the executable, so it must stay in this binary folder.
set_target_properties(Halyard PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
halyard_order_sounds(Halyard)
