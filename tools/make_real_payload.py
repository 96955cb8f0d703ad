#!/usr/bin/env python3
"""Writes a payload of real size for the vendor build (-DMORIVANE_PAYLOAD_DIR).

Usage: make_real_payload.py FOLDER

Everything comes from Debian packages, so the same package versions give the
same bytes: the programs are Wine's Windows programs, the pictures are cut
from GNOME's wallpapers by ImageMagick, the tables are Unicode's Unihan data
laid out over GBK and Big5, the settings files and guides are the sample ones
filled out with that data (and ISO language names for the German one), and
the speech-runtime package is built by wixl from Wine's DLLs. The licences and
the glyph atlas stay the sample ones. Missing packages are installed when run
as root. Every file is checked against its size; a miss names the file.
"""
import bz2
import gettext
import glob
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unicodedata
import uuid
import zlib

import make_payload_table

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "resources", "payload")
TABLE = os.path.join(HERE, "..", "resources", "text_resources.tsv")
WINE = "/usr/lib/i386-linux-gnu/wine/i386-windows"
UNIHAN = "/usr/share/unicode"
WALLPAPERS = "/usr/share/backgrounds/gnome"
TOLERANCE = 0.05
SPEECH_LIMIT = 12582912  # SPEECH_BUFFER_SIZE

SIZES = {
    "Morivane.exe": 413696, "welcome_morivane.JPG": 25510, "MorivaneUI.ini": 4113,
    "Morivane_Guide.htm": 2026, "MorivaneUnInstall.exe": 57344,
    "Morivane_Guide_b5.htm": 2412, "Morivane_Guide_en.htm": 2410,
    "barmenu.JPG": 15618, "barmenu_en.JPG": 14340, "Desktop.JPG": 8396,
    "gbk2b5.bin": 48132, "ch2py.bin": 87988, "CH2PYPZ1.BIN": 201344,
    "CH2PYPZ2.BIN": 2654, "sort.dic": 4237, "ZiPartsStd.dat": 325571,
    "ZiPartsBaseStd.dat": 5586, "ZiDef.dic": 408345, "taskicon.JPG": 10847,
    "TOOLBAR.JPG": 33036, "MorivaneUI_de.ini": 5375, "ctrlmenu.PNG": 9344,
    "ctrlmenu_en.PNG": 9377, "TevaiInfo.PNG": 10679, "TevaiInfo_en.PNG": 12899,
    "Sapi51forQuelt.msi": 11555328,
}

# What each package brings that is used here.
NEEDS = {
    "/usr/bin/convert": "imagemagick", "/usr/bin/wixl": "wixl", "/usr/bin/msibuild": "msitools",
    UNIHAN + "/Unihan_Readings.txt.bz2": "unicode-data",
    WALLPAPERS + "/wood-l.webp": "gnome-backgrounds",
    "/usr/share/iso-codes/json/iso_639-2.json": "iso-codes",
    WINE + "/sapi.dll": "wine32:i386",
}

# name, wallpaper, width:height of the picture it stands for
PICTURES = [
    ("welcome_morivane.JPG", "adwaita-l", (500, 320)),
    ("barmenu.JPG", "licorice-l", (480, 300)),
    ("barmenu_en.JPG", "licorice-d", (480, 300)),
    ("Desktop.JPG", "symbolic-l", (640, 480)),
    ("taskicon.JPG", "pixels-d", (320, 48)),
    ("TOOLBAR.JPG", "pixels-l", (520, 44)),
    ("ctrlmenu.PNG", "grid-l", (180, 228)),
    ("ctrlmenu_en.PNG", "grid-d", (230, 228)),
    ("TevaiInfo.PNG", "wood-l", (360, 220)),
    ("TevaiInfo_en.PNG", "wood-d", (360, 220)),
]
JPEG_OPTIONS = ["-quality", "88", "-sampling-factor", "2x2", "-interlace", "none"]
PNG_OPTIONS = ["+dither", "-colors", "48", "-define", "png:exclude-chunks=date,time",
               "-define", "png:compression-level=9"]


def ensure_packages():
    missing = sorted({package for path, package in NEEDS.items() if not os.path.exists(path)})
    if not missing:
        return
    if os.geteuid() != 0:
        sys.exit("missing packages: %s (run as root to install them)" % " ".join(missing))
    if any(p.endswith(":i386") for p in missing):
        subprocess.run(["dpkg", "--add-architecture", "i386"], check=True)
    subprocess.run(["apt-get", "update", "-q"], check=True)
    subprocess.run(["apt-get", "install", "-y", "-q", "--no-install-recommends"] + missing,
                   check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def fill(records, room):
    """The leading records that fit in room bytes."""
    taken = []
    for record in records:
        if len(record) > room:
            break
        taken.append(record)
        room -= len(record)
    return taken


# ---------------------------------------------------------------- programs

def program(size):
    """Wine's program nearest in size, cut or continued with the next ones."""
    programs = sorted(glob.glob(WINE + "/*.exe"))
    nearest = min(programs, key=lambda p: (abs(os.path.getsize(p) - size), p))
    data = b""
    for path in [nearest] + programs:
        if len(data) >= size:
            break
        data += open(path, "rb").read()
    return data[:size]


# ---------------------------------------------------------------- pictures

def picture(source, name, aspect, size, scratch):
    """The wallpaper cut to the picture's proportions, at the width whose file
    comes nearest the size (files grow with the width)."""
    def render(width):
        height = max(1, round(width * aspect[1] / aspect[0]))
        out = os.path.join(scratch, "%d-%s" % (width, name))
        options = JPEG_OPTIONS if name.endswith(".JPG") else PNG_OPTIONS
        subprocess.run(["convert", source, "-resize", "%dx%d^" % (width, height),
                        "-gravity", "center", "-extent", "%dx%d" % (width, height),
                        "-strip", "+set", "date:create", "+set", "date:modify"]
                       + options + [out], check=True)
        return open(out, "rb").read()
    low, high, best = 16, 1024, b""
    while low <= high:
        width = (low + high) // 2
        data = render(width)
        if abs(len(data) - size) < abs(len(best) - size):
            best = data
        if len(data) < size:
            low = width + 1
        else:
            high = width - 1
    return best


# ---------------------------------------------------------------- character data

def unihan():
    """Unihan's fields: {field: {character: value}}."""
    fields = {}
    for part in ("Readings", "IRGSources", "DictionaryLikeData", "Variants"):
        with bz2.open("%s/Unihan_%s.txt.bz2" % (UNIHAN, part), "rt", encoding="utf-8") as f:
            for line in f:
                if line.startswith("U+"):
                    code, field, value = line.rstrip("\n").split("\t", 2)
                    fields.setdefault(field, {})[chr(int(code[2:], 16))] = value
    return fields


def gbk_characters():
    """(GBK bytes, character) of every ideograph in GBK: GB2312's first, then
    GBK's additions, each in code order."""
    def ideographs(leads, trails):
        for lead in leads:
            for trail in trails:
                try:
                    ch = bytes((lead, trail)).decode("gbk")
                except UnicodeDecodeError:
                    continue
                if unicodedata.name(ch, "").startswith(("CJK UNIFIED", "CJK COMPATIBILITY")):
                    yield bytes((lead, trail)), ch
    gb2312 = list(ideographs(range(0xB0, 0xF8), range(0xA1, 0xFF)))
    known = {code for code, _ in gb2312}
    rest = [item for item in ideographs(range(0x81, 0xFF), range(0x40, 0xFF))
            if item[0] not in known]
    return gb2312, gb2312 + rest


TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}


def ascii_pinyin(syllable):
    """hǎo -> hao3, lǜ -> lv4."""
    letters, tone = "", "5"
    for c in unicodedata.normalize("NFD", syllable):
        if c in TONE_MARKS:
            tone = TONE_MARKS[c]
        elif c == "\u0308":
            letters = letters[:-1] + "v"
        elif not unicodedata.combining(c):
            letters += c
    return letters + tone


def readings(data, ch):
    """Every reading of a character, the usual one first."""
    found = [ascii_pinyin(r) for r in data["kMandarin"].get(ch, "").split()]
    for entry in data["kHanyuPinyin"].get(ch, "").split():
        found += [ascii_pinyin(r) for r in entry.split(":")[1].split(",")]
    return list(dict.fromkeys(found))


def header(magic, count):
    return magic.ljust(8, b"\0") + struct.pack("<HH", 1, count)


def table(magic, records, size):
    taken = fill(records, size - 12)
    return header(magic, len(taken)) + b"".join(taken)


def gbk_to_big5(data):
    """The Big5 code (traditional form first) of every GBK code, lead 0x81-0xFE
    by trail 0x40-0xFE, 0 where there is none."""
    out = bytearray()
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            code = b"\0\0"
            try:
                ch = bytes((lead, trail)).decode("gbk")
            except UnicodeDecodeError:
                ch = ""
            forms = [chr(int(v[2:], 16)) for v in data["kTraditionalVariant"].get(ch, "").split()]
            for form in forms + [ch] if ch else []:
                try:
                    code = form.encode("big5")
                    break
                except UnicodeEncodeError:
                    pass
            out += code
    return bytes(out)


def tables(data):
    gb2312, gbk = gbk_characters()
    files = {"gbk2b5.bin": gbk_to_big5(data)}
    files["ch2py.bin"] = table(b"MVCH2PY", (
        code + bytes([len(r)]) + b"".join(p.encode().ljust(8, b"\0") for p in r)
        for code, r in ((code, readings(data, ch)[:255]) for code, ch in gbk) if r),
        SIZES["ch2py.bin"])
    def places(text):
        """Readings with their places in a dictionary: '0445.030:hǎo' -> b'0445.030:hao3'."""
        return " ".join(place + ":" + ",".join(map(ascii_pinyin, said.split(",")))
                        for place, said in (e.split(":") for e in text.split())).encode()
    for name, magic, field, chars, least in (
            ("CH2PYPZ1.BIN", b"MVPZ1", "kHanyuPinyin", gbk, 1),
            ("CH2PYPZ2.BIN", b"MVPZ2", "kXHC1983", gb2312, 2)):   # PZ2: several entries only
        files[name] = table(magic, (code + places(data[field][ch]) + b"\0" for code, ch in chars
                                    if len(data[field].get(ch, "").split()) >= least), SIZES[name])
    strokes = lambda ch: int(data["kTotalStrokes"].get(ch, "0").split()[0])
    in_order = sorted(gb2312, key=lambda item: (readings(data, item[1])[:1], strokes(item[1]), item[0]))
    files["sort.dic"] = table(b"MVSORT", (code for code, _ in in_order), SIZES["sort.dic"])

    def parts(ch):
        radical, residual = data["kRSUnicode"][ch].split()[0].replace("'", "").split(".")
        extra = [data[f].get(ch, "").encode() for f in ("kCangjie", "kFourCornerCode", "kPhonetic")]
        return (struct.pack("<BbB", int(radical), int(residual), strokes(ch))
                + b"".join(bytes([len(e)]) + e for e in extra))
    files["ZiPartsStd.dat"] = table(b"MVZPSTD", (code + parts(ch) for code, ch in gbk),
                                    SIZES["ZiPartsStd.dat"])
    radicals = []
    for cp in range(0x2F00, 0x2FD6):
        ch = chr(int(unicodedata.decomposition(chr(cp)).split()[1], 16))
        name = unicodedata.name(chr(cp))[len("KANGXI RADICAL "):].lower()
        text = ("%s|%s" % (name, data["kDefinition"].get(ch, ""))).encode()[:255]
        radicals.append(ch.encode("gbk", "replace")[:2].ljust(2, b"\0")
                        + bytes([strokes(ch), len(text)]) + text)
    files["ZiPartsBaseStd.dat"] = table(b"MVZPBASE", radicals, SIZES["ZiPartsBaseStd.dat"])

    definitions = [(code, ("%s|%d|%s" % (",".join(readings(data, ch)), strokes(ch),
                                         data["kDefinition"][ch])).encode() + b"\0")
                   for code, ch in gbk if ch in data["kDefinition"]]
    # each entry also takes a 6-byte index row
    taken = fill((bytes(6) + text for _, text in definitions), SIZES["ZiDef.dic"] - 12)
    index, pool = b"", b""
    for code, text in definitions[:len(taken)]:
        index += code + struct.pack("<I", len(pool))
        pool += text
    files["ZiDef.dic"] = header(b"MVZIDEF", len(taken)) + index + pool
    return files


# ---------------------------------------------------------------- texts

def settings(sample, encoding, section, lines, size):
    """The sample settings file with one more section of real data."""
    text = open(os.path.join(SAMPLE, sample), "rb").read()
    text += ("\r\n[%s]\r\n" % section).encode(encoding)
    return text + b"".join(fill((line.encode(encoding) + b"\r\n" for line in lines),
                                size - len(text)))


def guide(sample, encoding, heading, entries, size):
    """The sample guide, cut by whole sections or continued with one."""
    text = open(os.path.join(SAMPLE, sample), encoding=encoding, newline="").read()
    body, end = text[:text.rindex("<p>")], text[text.rindex("<p>"):]
    length = lambda t: len(t.encode(encoding))
    while length(body + end) > size:
        body = body[:body.rindex("<h2>")]
    section = "<h2>%s</h2>\r\n<p>" % heading
    room = size - length(body + end + section + "</p>\r\n\r\n")
    items = fill((e.encode(encoding) + b"\r\n" for e in entries), room)
    if items:
        body += section + b"".join(items).decode(encoding) + "</p>\r\n\r\n"
    return (body + end).encode(encoding)


def texts(data):
    gb2312, _ = gbk_characters()
    level1 = [ch for code, ch in gb2312 if code < b"\xd8"]
    by_reading = {}
    for ch in level1:
        for r in readings(data, ch)[:1]:
            by_reading.setdefault(r, []).append(ch)
    files = {"MorivaneUI.ini": settings(
        "MorivaneUI.ini", "gbk", "PINYIN_INDEX",
        ("%s=%s" % (r, "".join(chars)) for r, chars in sorted(by_reading.items())),
        SIZES["MorivaneUI.ini"])}
    german = gettext.translation("iso_639-2", "/usr/share/locale", ["de"])
    names = []
    for language in json.load(open("/usr/share/iso-codes/json/iso_639-2.json"))["639-2"]:
        name = german.gettext(language["name"])
        if name.encode("cp1252", "replace") == name.encode("cp1252", "ignore"):
            names.append("%s=%s" % (language["alpha_3"], name))
    files["MorivaneUI_de.ini"] = settings("MorivaneUI_de.ini", "cp1252", "Sprachen", names,
                                          SIZES["MorivaneUI_de.ini"])

    common = [ch for ch in level1 if data["kFrequency"].get(ch) == "1"]
    first = lambda ch: readings(data, ch)[0]
    files["Morivane_Guide.htm"] = guide(
        "Morivane_Guide.htm", "gbk", "常用字", ("%s %s" % (ch, first(ch)) for ch in common),
        SIZES["Morivane_Guide.htm"])
    traditional = (chr(int(data["kTraditionalVariant"].get(ch, "U+%X" % ord(ch)).split()[0][2:], 16))
                   for ch in common)
    files["Morivane_Guide_b5.htm"] = guide(
        "Morivane_Guide_b5.htm", "big5", "常用字",
        ("%s %s" % (ch, first(ch)) for ch in traditional
         if ch.encode("big5", "replace") == ch.encode("big5", "ignore")),
        SIZES["Morivane_Guide_b5.htm"])
    files["Morivane_Guide_en.htm"] = guide(
        "Morivane_Guide_en.htm", "ascii", "Common characters",
        ("&#x%X; %s: %s" % (ord(ch), first(ch), data["kDefinition"].get(ch, "").split(";")[0])
         for ch in common), SIZES["Morivane_Guide_en.htm"])
    return files


# ---------------------------------------------------------------- speech runtime

WXS = """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="5e2d7c41-0b8a-4f63-a1d9-6c3e8f2b7a14" Name="Quelt Speech Runtime" Language="1033"
           Version="5.1.0.0" Manufacturer="Quelt" UpgradeCode="7c1e2a64-3f0b-4a8e-9d21-5b6f0c9e4a11">
    <Package InstallerVersion="200" Compressed="yes" Comments="Speech runtime"/>
    <Media Id="1" Cabinet="speech.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="INSTALLDIR" Name="Quelt Speech Runtime">
%s
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1">
%s
    </Feature>
  </Product>
</Wix>
"""


def speech_package(size, scratch):
    """Wine's DLLs under 1 MB in name order, each taken while its deflated
    size still fits, so the package comes out at about the size; the fit is
    corrected by the size of the first package built. Cabinet entries carry
    their files' times, so the copies get a fixed one."""
    stage = os.path.join(scratch, "speech")
    os.makedirs(stage)
    dlls = [p for p in sorted(glob.glob(WINE + "/*.dll")) if os.path.getsize(p) < 1 << 20]
    packed = {}
    goal = size
    for _ in range(4):
        chosen, room = [], goal
        for path in dlls:
            if path not in packed:
                packed[path] = len(zlib.compress(open(path, "rb").read(), 6))
            if packed[path] <= room:
                chosen.append(os.path.basename(path))
                room -= packed[path]
            if room < 16384:
                break
        components, refs = [], []
        for number, name in enumerate(chosen):
            copy = os.path.join(stage, name)
            if not os.path.exists(copy):
                shutil.copyfile(os.path.join(WINE, name), copy)
                os.utime(copy, (1767225600, 1767225600))
            guid = uuid.uuid5(uuid.NAMESPACE_URL, "quelt-speech-runtime/" + name)
            components.append('          <Component Id="C%d" Guid="%s"><File Id="F%d" Source="%s" '
                              'Name="%s" KeyPath="yes"/></Component>' % (number, guid, number, name, name))
            refs.append('      <ComponentRef Id="C%d"/>' % number)
        with open(os.path.join(stage, "speech.wxs"), "w") as f:
            f.write(WXS % ("\n".join(components), "\n".join(refs)))
        package = os.path.join(scratch, "Sapi51forQuelt.msi")
        subprocess.run(["wixl", "-o", package, "speech.wxs"], cwd=stage, check=True)
        subprocess.run([sys.executable, os.path.join(HERE, "normalize_msi.py"), package,
                        "{6B1F0E2A-93C4-4D7E-8A25-F0C3D9B14E68}", "Quelt Speech Runtime", "Quelt"],
                       check=True)
        built = os.path.getsize(package)
        if abs(built - size) <= size * TOLERANCE / 4:
            break
        goal = goal * size // built
    return open(package, "rb").read()


# ---------------------------------------------------------------- main

def main(folder):
    ensure_packages()
    os.makedirs(folder, exist_ok=True)
    files = {"Morivane.exe": program(SIZES["Morivane.exe"]),
             "MorivaneUnInstall.exe": program(SIZES["MorivaneUnInstall.exe"])}
    data = unihan()
    files.update(tables(data))
    files.update(texts(data))
    with tempfile.TemporaryDirectory() as scratch:
        for name, wallpaper, aspect in PICTURES:
            source = os.path.join(scratch, wallpaper + ".ppm")
            if not os.path.exists(source):
                subprocess.run(["convert", os.path.join(WALLPAPERS, wallpaper + ".webp"),
                                "-resize", "1024x1024", source], check=True)
            files[name] = picture(source, name, aspect, SIZES[name], scratch)
        files["Sapi51forQuelt.msi"] = speech_package(SIZES["Sapi51forQuelt.msi"], scratch)

    # The installed files are those of the resource table; the glyph atlas
    # comes from the build's own generator.
    problems = ["%s: installed by the table, not made here" % row["file"]
                for row in make_payload_table.read_rows(TABLE)
                if row["installed"] != "-" and row["check"] != "atlas" and row["file"] not in SIZES]
    for name, size in SIZES.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(files[name])
        got = len(files[name])
        print("%-24s %10d bytes  (%+.1f%%)" % (name, got, 100.0 * (got - size) / size))
        if abs(got - size) > size * TOLERANCE:
            problems.append("%s: %d bytes, not within 5%% of %d" % (name, got, size))
    ini = files["MorivaneUI.ini"]
    if b"UILanguage" in ini or not ini.endswith(b"\r\n"):
        problems.append("MorivaneUI.ini: holds UILanguage or does not end with CR LF")
    if len(files["Sapi51forQuelt.msi"]) > SPEECH_LIMIT:
        problems.append("Sapi51forQuelt.msi: over %d bytes" % SPEECH_LIMIT)
    for problem in problems:
        print("error: " + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
