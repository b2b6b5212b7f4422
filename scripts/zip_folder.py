#!/usr/bin/env python3
"""zip_folder.py BASE FOLDER ZIP: packs BASE/FOLDER into ZIP with FOLDER/ as the top entry.

Names are stored as Chinese Windows itself stores them, in code page 936 (GBK), which the
Explorer of Windows 7 to 11 on a Chinese system reads, and a second time in UTF-8 in the
Info-ZIP Unicode Path extra field, which WinRAR, 7-Zip, Bandizip and Info-ZIP's unzip read on
any system."""
import os
import struct
import sys
import zipfile
import zlib

UNICODE_PATH_FIELD = 0x7075


class ChineseWindowsName(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits & ~0x800

    def add_unicode_path(self):
        raw = self.filename.encode("gbk")
        if raw == self.filename.encode("utf-8"):
            return
        body = struct.pack("<BI", 1, zlib.crc32(raw)) + self.filename.encode("utf-8")
        self.extra = struct.pack("<HH", UNICODE_PATH_FIELD, len(body)) + body


def add(archive, path, name):
    info = ChineseWindowsName.from_file(path, name)
    info.add_unicode_path()
    if info.is_dir():
        archive.writestr(info, b"")
        return
    info.compress_type = zipfile.ZIP_DEFLATED
    with open(path, "rb") as f:
        archive.writestr(info, f.read(), compresslevel=9)


def main():
    base, folder, target = sys.argv[1:4]
    with zipfile.ZipFile(target, "w") as archive:
        for root, dirs, files in os.walk(os.path.join(base, folder)):
            dirs.sort()
            relative = os.path.relpath(root, base)
            add(archive, root, relative)
            for name in sorted(files):
                add(archive, os.path.join(root, name), os.path.join(relative, name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
