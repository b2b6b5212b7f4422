#!/usr/bin/env python3
"""The house rules on includes (docs/architecture.md), checked over src/ and tools/.

1. Direction: a file includes only headers of the folders its layer may include.
2. Portability: a file the native build compiles, and every header it reaches through
   #include "...", never includes a Win32 header, not even under #ifdef.

The portable sources are those of the native build's compile_commands.json.
Usage: check_layers.py [--build build/native]. Exits 1 and lists the findings when any rule is
broken.
"""
import argparse
import json
import os
import re
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_ROOTS = ("src", "tools")
SUFFIXES = (".h", ".hpp", ".cpp", ".c")

MODEL = ["common", "brokerconfig", "broker", "rules", "alerts"]
ALLOWED = {
    "common": {"common"},
    "brokerconfig": {"common", "brokerconfig"},
    "broker": {"common", "brokerconfig", "broker"},
    "rules": {"common", "brokerconfig", "broker", "rules"},
    "alerts": set(MODEL),
    "framework": {"common", "framework"},
    "widgets": {"common", "framework", "widgets", "brokerconfig", "broker", "rules"},
    "res": {"res"},
}
DIALOG_EXTRAS = {"framework", "widgets", "res"}
# The stand-ins of the outside world share only common/ with the program; the probe reports what
# the executor sees, with the executor's own toolkit and list reading.
TOOL_EXTRAS = {"probe": {"brokerconfig", "broker"}}
DIALOG_FILE = re.compile(r"_dlg\.(h|hpp|cpp)$")

WIN32_HEADERS = {
    "windows.h", "windef.h", "winbase.h", "winuser.h", "wingdi.h", "winnt.h", "winreg.h",
    "commctrl.h", "commdlg.h", "mmsystem.h", "shellapi.h", "shlobj.h", "shlwapi.h", "objbase.h",
    "ole2.h", "oleauto.h", "winhttp.h", "wininet.h", "winsock2.h", "ws2tcpip.h", "tlhelp32.h",
    "psapi.h", "richedit.h", "uxtheme.h", "dwmapi.h", "winerror.h", "tchar.h",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def includes_of(path):
    found = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                found.append((number, m.group(1) == "<", m.group(2)))
    return found


def relative(path):
    return os.path.relpath(path, TOP).replace(os.sep, "/")


def allowed_folders(rel):
    """The top folders `rel` may include from, or None when it may include anything."""
    parts = rel.split("/")
    if parts[0] == "tools":
        return {"common", parts[1]} | TOOL_EXTRAS.get(parts[1], set())
    folder = parts[1]
    if folder == "app":
        return None
    allowed = set(ALLOWED.get(folder, {folder}))
    if DIALOG_FILE.search(parts[-1]):
        allowed |= DIALOG_EXTRAS
    return allowed


def resolve(including, name):
    """The project file a quoted include names, or None for one outside src/ and tools/."""
    here = os.path.join(os.path.dirname(including), name)
    if os.path.isfile(here):
        return os.path.normpath(here)
    for root in SOURCE_ROOTS:
        candidate = os.path.join(TOP, root, name)
        if os.path.isfile(candidate):
            return os.path.normpath(candidate)
    return None


def project_files():
    for root in SOURCE_ROOTS:
        for folder, _, names in os.walk(os.path.join(TOP, root)):
            for name in sorted(names):
                if name.endswith(SUFFIXES):
                    yield os.path.join(folder, name)


def direction_findings():
    findings = []
    for path in project_files():
        rel = relative(path)
        allowed = allowed_folders(rel)
        if allowed is None:
            continue
        for number, system, name in includes_of(path):
            if system:
                continue
            target = resolve(path, name)
            if not target:
                findings.append(f"{rel}:{number}: includes \"{name}\", which is not a file of src/ or tools/")
                continue
            target_rel = relative(target)
            top = target_rel.split("/")[1]
            if target_rel.split("/")[0] == "tools" and rel.split("/")[0] != "tools":
                top = "tools/" + top
            if os.path.dirname(target) == os.path.dirname(path) or top in allowed:
                continue
            findings.append(f"{rel}:{number}: includes \"{name}\": {rel.split('/')[1]} may not include {top}/")
    return findings


def portable_sources(build):
    commands = os.path.join(build, "compile_commands.json")
    if not os.path.isfile(commands):
        sys.exit(f"check_layers: {commands} is missing (configure the native build first)")
    with open(commands) as f:
        entries = json.load(f)
    sources = set()
    for entry in entries:
        path = os.path.normpath(os.path.join(entry.get("directory", ""), entry["file"]))
        if relative(path).split("/")[0] in SOURCE_ROOTS:
            sources.add(path)
    return sorted(sources)


def portability_findings(build):
    findings = []
    seen = {}
    pending = [(path, None) for path in portable_sources(build)]
    while pending:
        path, via = pending.pop()
        if path in seen:
            continue
        seen[path] = via
        for number, system, name in includes_of(path):
            if system:
                if os.path.basename(name).lower() in WIN32_HEADERS:
                    chain = []
                    step = path
                    while seen.get(step):
                        step = seen[step]
                        chain.append(relative(step))
                    reached = f" (portable through {' <- '.join(chain)})" if chain else ""
                    findings.append(f"{relative(path)}:{number}: portable file includes <{name}>{reached}")
                continue
            target = resolve(path, name)
            if target and target not in seen:
                pending.append((target, path))
    return sorted(set(findings))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(TOP, "build", "native"),
                        help="the native build folder (its compile_commands.json)")
    args = parser.parse_args()
    findings = direction_findings() + portability_findings(os.path.abspath(args.build))
    for finding in findings:
        print(finding)
    if findings:
        print(f"check_layers: {len(findings)} finding(s); the rules are in docs/architecture.md")
        return 1
    print("check_layers: includes follow the layers; portable files include no Win32 header")
    return 0


if __name__ == "__main__":
    sys.exit(main())
