# Portable: stock rules and their file with its writer thread, trigger evaluation, and the
# record of the stocks the monitor saw.
halyard_library(halyard_rules_core
  SOURCES rule_file.cpp rule_file_saver.cpp trigger_evaluation.cpp stock_sightings.cpp
  DEPS halyard_broker_core halyard_common tinyxml2)
if(NOT WIN32)
  target_link_libraries(halyard_rules_core PUBLIC pthread)
endif()
