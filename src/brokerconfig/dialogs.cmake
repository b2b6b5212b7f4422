if(WIN32)
  # The broker settings dialog, its grid editor, and the new-broker, rename and detection dialogs; the
  # detection dialog is handed the executor.
  halyard_library(halyard_brokerconfig_dialogs
    SOURCES broker_setting_dlg.cpp broker_child_setting_dlg.cpp add_broker_config_dlg.cpp
            auto_check_broker_dlg.cpp rename_broker_dlg.cpp
    DEPS halyard_brokerconfig halyard_widgets halyard_framework)
endif()
