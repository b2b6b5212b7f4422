# Portable: stock rules and their file, trigger evaluation.
halyard_library(halyard_rules_core
  SOURCES rule_file.cpp trigger_evaluation.cpp
  DEPS halyard_broker_core halyard_common tinyxml2)
