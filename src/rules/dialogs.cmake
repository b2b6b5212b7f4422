# The rule editor's values moved between a rule and the dialog: portable.
halyard_library(halyard_rule_editor_fields
  SOURCES rule_editor_fields.cpp)

if(WIN32)
  # The dialogs of the rules: the rule editor.
  halyard_library(halyard_rules_dialogs
    SOURCES rule_editor_dlg.cpp
    DEPS halyard_rule_editor_fields halyard_framework)
endif()
