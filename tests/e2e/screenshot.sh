#!/bin/sh
# screenshot.sh FILE.png: the whole virtual display, as a user would see it.
xwd -root -display "$DISPLAY" 2>/dev/null | /usr/bin/convert xwd:- "png:$1" 2>/dev/null
