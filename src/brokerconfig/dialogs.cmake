if(WIN32)
  # The broker settings dialog, its grid editor, and the new-broker and detection dialogs.
  # Detection drives the executor, so this library sits above the broker subsystem although its
  # dialogs belong to the configurations.
  halyard_library(halyard_brokerconfig_dialogs
    SOURCES broker_setting_dlg.cpp broker_child_setting_dlg.cpp add_broker_config_dlg.cpp
            auto_check_broker_dlg.cpp
    DEPS halyard_brokerconfig halyard_broker halyard_widgets halyard_framework)
endif()
