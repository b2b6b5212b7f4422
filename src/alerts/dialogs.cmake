if(WIN32)
  # The alert settings dialog.
  halyard_library(halyard_alerts_dialogs
    SOURCES voice_setting_dlg.cpp
    DEPS halyard_alerts halyard_framework comdlg32)
endif()
