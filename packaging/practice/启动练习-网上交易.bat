@echo off
rem Starts the practice broker client of the other family (tree menu, drawn grids copied with
rem Ctrl+A Ctrl+C, a copy captcha), simulated, no real money, with the sample portfolio.
cd /d "%~dp0"
start "" "%~dp0simclient.exe" --family grid --scenario portfolio.txt --journal journal-grid.txt
