# Windows-only: window toolkit, remote memory, list reading, panel recognition, the confirmation
# sweep, the grid family's tree, copies, form and pop-ups, and the executor.
halyard_library(halyard_broker
  SOURCES result_codes.cpp window_toolkit.cpp remote_memory.cpp remote_list_reader.cpp
          panel_recognition.cpp confirm_sweep.cpp executor_core.cpp
          executor_discovery.cpp executor_pages.cpp executor_orders.cpp
          broker_tables.cpp steady_rows.cpp client_windows.cpp executor_detection.cpp
          remote_tree.cpp held_control_key.cpp saved_clipboard.cpp grid_popups.cpp grid_copier.cpp
          grid_order_form.cpp grid_executor_connect.cpp grid_executor_reads.cpp grid_executor_orders.cpp
          grid_executor_cancel.cpp grid_executor_learn.cpp
  DEPS halyard_broker_core halyard_brokerconfig halyard_common comctl32 user32)
