#!/usr/bin/env python3
"""zip_folder.py BASE FOLDER ZIP: packs BASE/FOLDER into ZIP with FOLDER/ as the top entry.

Names are stored in UTF-8 with the zip format's UTF-8 flag, which the archivers Chinese users
have (WinRAR, 7-Zip, Bandizip, 360压缩) and the Windows 10 and 11 Explorer read."""
import os
import sys
import zipfile


def main():
    base, folder, target = sys.argv[1:4]
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for root, dirs, files in os.walk(os.path.join(base, folder)):
            dirs.sort()
            relative = os.path.relpath(root, base)
            archive.write(root, relative + "/")
            for name in sorted(files):
                archive.write(os.path.join(root, name), os.path.join(relative, name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
