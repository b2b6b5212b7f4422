# The rule editor's values moved between a rule and the dialog: portable.
halyard_library(halyard_rule_editor_fields
  SOURCES rule_editor_fields.cpp)

if(WIN32)
  # The rule editor dialog.
  halyard_library(halyard_rule_editor
    SOURCES price_setting_dlg.cpp
    DEPS halyard_rule_editor_fields halyard_framework)
endif()
