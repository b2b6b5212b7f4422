# Portable: the monitor cycle's decisions and the investor's journal.
