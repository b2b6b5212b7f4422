#!/usr/bin/env python3
"""Makes the help document (RTF, which Word, WPS and LibreOffice open under the .doc name) from
its plain-text source, with the end-to-end screenshots embedded as PNG pictures.

make_help_doc.py SOURCE SCREENSHOT_DIR OUTPUT

Source lines: "# ", "## ", "### " headings; "- " list items; "| a | b |" table rows; a blank
line ends a paragraph; "**text**" is bold; "![caption](name|name...)" is a picture: the first
screenshot (PNG or BMP) whose name matches one of the shell patterns, case ignored. Pictures
that have no screenshot yet are left out and listed on stderr and in OUTPUT.pictures.txt, so the
document takes them up as soon as the tests that take them exist.
"""
import fnmatch
import os
import re
import struct
import subprocess
import sys

CONVERT = "/usr/bin/convert"  # Debian's own: some images put a stand-in earlier on the PATH
MAX_PICTURE_PX = 600
TWIPS_PER_PX = 15


def rtf_text(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif 0x20 <= code < 0x80:
            out.append(ch)
        elif code == 0x09:
            out.append("\\tab ")
        else:
            for unit in struct.unpack("<%dh" % (len(ch.encode("utf-16-le")) // 2), ch.encode("utf-16-le")):
                out.append("\\u%d?" % unit)
    return "".join(out)


def inline(text):
    parts = re.split(r"\*\*(.+?)\*\*", text)
    return "".join(rtf_text(p) if i % 2 == 0 else "{\\b " + rtf_text(p) + "}" for i, p in enumerate(parts))


def find_screenshot(folder, patterns):
    try:
        names = sorted(os.listdir(folder))
    except OSError:
        return None
    for pattern in patterns:
        for ext in (".png", ".bmp"):
            for name in names:
                base, e = os.path.splitext(name)
                if e.lower() == ext and fnmatch.fnmatch(base.lower(), pattern.strip().lower()):
                    return os.path.join(folder, name)
    return None


def png_bytes(path):
    result = subprocess.run([CONVERT, path, "-resize", "%dx%d>" % (MAX_PICTURE_PX, MAX_PICTURE_PX), "png:-"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
    data = result.stdout
    if result.returncode != 0 or data[:8] != b"\x89PNG\r\n\x1a\n":
        return None, 0, 0
    width, height = struct.unpack(">II", data[16:24])
    return data, width, height


def picture(path, caption):
    data, width, height = png_bytes(path)
    if not data:
        return None
    hexdata = data.hex()
    lines = "\n".join(hexdata[i:i + 128] for i in range(0, len(hexdata), 128))
    return ("{\\pard\\qc\\sb120\\sa60{\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n%s}\\par}\n"
            "{\\pard\\qc\\sa200\\fs18\\i %s\\par}\n" %
            (width, height, width * TWIPS_PER_PX, height * TWIPS_PER_PX, lines, rtf_text(caption)))


def table(rows):
    cells = [[c.strip() for c in row.strip().strip("|").split("|")] for row in rows]
    cells = [r for r in cells if not all(re.fullmatch(r":?-+:?", c) for c in r)]
    columns = max(len(r) for r in cells)
    width = 9000 // columns
    out = []
    for index, row in enumerate(cells):
        out.append("\\trowd\\trgaph80\\trleft0")
        for c in range(columns):
            out.append("\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx%d" % (width * (c + 1)))
        out.append("\n")
        for c in range(columns):
            text = inline(row[c]) if c < len(row) else ""
            out.append("\\pard\\intbl\\fs20 %s%s\\cell\n" % ("{\\b " + text + "}" if index == 0 else text, ""))
        out.append("\\row\n")
    return "".join(out) + "\\pard\\sa120\\par\n"


HEADINGS = {1: "\\sb360\\sa180\\fs36\\b\\f1", 2: "\\sb240\\sa120\\fs28\\b\\f1", 3: "\\sb180\\sa80\\fs24\\b\\f1"}


def convert(source, screenshots):
    body, wanted = [], []
    paragraph, rows = [], []

    def flush():
        if paragraph:
            body.append("{\\pard\\sa120\\fs21 %s\\par}\n" % inline("".join(paragraph)))
            paragraph.clear()
        if rows:
            body.append(table(rows))
            rows.clear()

    for raw in source.splitlines():
        line = raw.rstrip()
        heading = re.match(r"(#{1,3}) (.*)", line)
        image = re.fullmatch(r"!\[(.*)\]\((.*)\)", line.strip())
        if not line.strip():
            flush()
        elif line.lstrip().startswith("|"):
            if paragraph:
                flush()
            rows.append(line)
        elif heading:
            flush()
            level = len(heading.group(1))
            body.append("{\\pard\\keepn%s %s\\par}\n" % (HEADINGS[level], inline(heading.group(2))))
        elif image:
            flush()
            caption, patterns = image.group(1), image.group(2).split("|")
            path = find_screenshot(screenshots, patterns)
            rtf = picture(path, caption) if path else None
            wanted.append((caption, patterns, path if rtf else None))
            if rtf:
                body.append(rtf)
        elif line.startswith("- "):
            flush()
            body.append("{\\pard\\fi-300\\li600\\sa60\\fs21 \\u8226?\\tab %s\\par}\n" % inline(line[2:]))
        else:
            paragraph.append(line.strip())
    flush()
    header = ("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\n"
              "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}{\\f1\\fnil\\fcharset134 SimHei;}}\n"
              "{\\info{\\title Halyard}}\n\\paperw11906\\paperh16838\\margl1440\\margr1440\\margt1200\\margb1200\n")
    return header + "".join(body) + "}\n", wanted


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    source_path, screenshots, output = sys.argv[1:]
    with open(source_path, encoding="utf-8") as f:
        source = f.read().replace("@VERSION@", os.environ.get("HALYARD_VERSION", ""))
    document, wanted = convert(source, screenshots)
    listing = []
    for caption, patterns, path in wanted:
        state = os.path.basename(path) if path else "missing"
        listing.append("%s\t%s\t%s" % (caption, "|".join(patterns), state))
    missing = [caption for caption, _, path in wanted if not path]
    print("help: %d of %d pictures%s" % (len(wanted) - len(missing), len(wanted),
                                        "; no screenshot yet for: " + ", ".join(missing) if missing else ""),
          file=sys.stderr)
    new = document.encode("ascii")
    old = open(output, "rb").read() if os.path.exists(output) else None
    if new != old:
        tmp = output + ".tmp"
        with open(tmp, "wb") as f:
            f.write(new)
        os.replace(tmp, output)
    with open(output + ".pictures.txt", "w", encoding="utf-8") as f:
        f.write("\n".join(listing) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
