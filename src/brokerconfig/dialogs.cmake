if(WIN32)
  # The new-broker and detection dialogs; the detection dialog is handed the executor.
  halyard_library(halyard_brokerconfig_dialogs
    SOURCES add_broker_config_dlg.cpp auto_check_broker_dlg.cpp
    DEPS halyard_brokerconfig halyard_framework)
endif()
