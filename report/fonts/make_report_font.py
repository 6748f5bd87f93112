#!/usr/bin/env python3
"""Derives the report typeface from Noto Sans CJK SC (one face of a Noto CJK collection).

A PDF keeps beside every glyph drawn the character it stands for, and Qt's PDF writer reads that
character back from the font's character map: the lowest code point that maps to the glyph wins, and
a glyph reached only through a substitution has none. Noto CJK draws 女 and the Kangxi radical ⼥
with one glyph, and its substitution tables swap digits in Latin runs for glyphs outside the map, so
a PDF drawn with it reads ⼥ for 女 and loses digits. The derived face draws the same glyphs but
  - maps every glyph from one character only: the radicals and compatibility forms that share a
    glyph with a common character are left out (they are still drawn, by the system's font), and
    where two common characters share a glyph the one Chinese text uses is kept;
  - has no glyph substitution, so every glyph drawn is one the character map names.
It is renamed, so the system's Noto Sans CJK SC stays what it is.

usage: make_report_font.py <collection.ttc> <family in the collection> <style> <output.otf> <new family>
"""
import sys
from collections import defaultdict

from fontTools.ttLib import TTCollection, TTFont

# Where two characters share a glyph, the one kept. Radicals give way to ideographs; the rest are
# the full-width forms and spaces of Chinese text.
PREFERRED = {0xFF5E, 0xFF0F, 0x3000, 0x2013}


def rank(cp):
    """Lower ranks win a shared glyph."""
    if cp in PREFERRED:
        return (0, cp)
    if 0x2E80 <= cp <= 0x2FDF:  # CJK radicals supplement, Kangxi radicals
        return (3, cp)
    if 0xF900 <= cp <= 0xFAFF or 0x2F800 <= cp <= 0x2FA1F:  # compatibility ideographs
        return (2, cp)
    return (1, cp)


def face_index(path, family):
    collection = TTCollection(path, lazy=True)
    for i, font in enumerate(collection.fonts):
        if font["name"].getDebugName(1) == family:
            return i
    raise SystemExit(f"{path}: no face {family!r}")


def main():
    source, family, style, output, new_family = sys.argv[1:6]
    font = TTFont(source, fontNumber=face_index(source, family), lazy=True)

    best = font.getBestCmap()
    by_glyph = defaultdict(list)
    for cp, glyph in best.items():
        by_glyph[glyph].append(cp)
    dropped = set()
    for cps in by_glyph.values():
        if len(cps) > 1:
            keep = min(cps, key=rank)
            dropped.update(cp for cp in cps if cp != keep)
    for table in font["cmap"].tables:
        if table.isUnicode() and table.format != 14:
            for cp in dropped:
                table.cmap.pop(cp, None)

    if "GSUB" in font:
        del font["GSUB"]

    full = f"{new_family} {style}"
    postscript = new_family.replace(" ", "") + "-" + style
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(new_family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (2, 17):
            names.setName(style, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (3, 4):
            names.setName(full, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(postscript, record.nameID, record.platformID, record.platEncID, record.langID)
    font.save(output)


if __name__ == "__main__":
    main()
