# Windows-only: the rule editor dialog.
