# Windows-only: window toolkit, list reading and the executor.
