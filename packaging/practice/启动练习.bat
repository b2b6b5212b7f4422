@echo off
rem Starts the practice broker client (simulated, no real money) with the sample portfolio.
cd /d "%~dp0"
start "" "%~dp0simclient.exe" --scenario portfolio.txt --journal journal.txt
