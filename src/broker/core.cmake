# Portable part of the broker subsystem: rows, snapshot store, executor interface, number text.
halyard_library(halyard_broker_core
  SOURCES position_snapshot_store.cpp number_text.cpp position_cells.cpp
    grid_copy_text.cpp tree_labels.cpp client_popups.cpp
  DEPS halyard_common halyard_brokerconfig)
