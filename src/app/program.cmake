# Halyard.exe: application object and main window.
