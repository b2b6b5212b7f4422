# Settings model over a profile; the registry profile on Windows.
