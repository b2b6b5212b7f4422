# Portable: the monitor cycle's decisions, the test-sale price and the investor's journal.
halyard_library(halyard_monitor
  SOURCES monitor_cycle.cpp connection_watch.cpp sale_confirmation.cpp position_watch.cpp order_chase.cpp close_all_run.cpp cancel_all_run.cpp column_check.cpp test_sale_price.cpp
          trade_journal.cpp monitor_session.cpp monitor_session_commands.cpp
  DEPS halyard_rule_editor_fields halyard_rules_core halyard_broker_core halyard_brokerconfig halyard_common)
