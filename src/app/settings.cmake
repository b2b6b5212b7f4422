# Settings model over a profile; the registry profile on Windows.
halyard_library(halyard_settings
  SOURCES app_settings.cpp app_alert_settings.cpp
  WIN_SOURCES registry_profile.cpp
  DEPS halyard_common)
if(WIN32)
  target_link_libraries(halyard_settings PUBLIC advapi32)
endif()
