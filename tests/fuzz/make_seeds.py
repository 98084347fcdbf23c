#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/.

Each seed is small and names what it starts the search from; the layouts
are those the targets read (see the head of each fuzz_*.cpp).
usage: make_seeds.py [OUT_DIR]
"""
import os
import struct
import sys
import zlib

# The order of KnownKeys() and KnownNames() in fuzz_registry.cpp.
KEYS = ["base", "ListItems", "ListHint", "User0", "User5",
        "Config/Kojin1", "Config/Kojin2", "Config/Memo", "Config/List",
        "Items/Kojin1", "Items/Kojin2", "Items/Memo", "Items/List",
        "User1", "User2", "User3", "User4"]
NAMES = ["BootInTaskTray", "CloseInTaskTray", "TabMode", "ColCount", "RowCount", "ColWidth",
         "RowHeight", "ColWidthMode", "FontName", "FontSize", "FontBold", "FontItalic", "ItemCount",
         "Top", "Left", "Height", "Width", "WndTopMost", "Page", "UserNo", "UserName", "",
         "KanjSei", "KanjMei", "KanaSei", "KanaMei", "EMail1", "EMail2", "HPURL", "ZIP",
         "KenMei", "Jusyo1", "Jusyo2", "TEL", "FAX", "JOB", "Older", "Kinmusaki",
         "Syozoku", "K_EMail", "K_URL", "K_ZIP", "K_Jusyo1", "K_Jusyo2", "K_TEL", "K_FAX",
         "etc1", "etc2", "etc3", "etc4", "etc5"]
ITEM, HINT, FORM = len(NAMES), len(NAMES) + 1, len(NAMES) + 2
STRING, EXPAND, DWORD, OTHER = range(4)


def sjis(text):
    return text.encode("cp932")


def name_bytes(name, upper=False):
    flag = 0x80 if upper else 0
    if isinstance(name, tuple):  # ("Item", n)
        series = {"Item": ITEM, "Hint": HINT, "Form": FORM}[name[0]]
        return bytes([series | flag]) + struct.pack("<H", name[1])
    return bytes([NAMES.index(name) | flag])


def record(key, name, kind, value, upper=False):
    out = bytes([KEYS.index(key)]) + name_bytes(name, upper) + bytes([kind])
    if kind == DWORD:
        return out + struct.pack("<I", value & 0xFFFFFFFF)
    data = value if isinstance(value, bytes) else sjis(value)
    return out + struct.pack("<H", len(data)) + data


def registry(records, dpi=96, user=0, width=1280, height=1024, press_ok=True):
    header = struct.pack("<HbBiI", dpi, user, 1 if press_ok else 0, width, height & 0xFFFFFFFF)
    return header + b"".join(records)


def standard_store():
    r = [record("base", n, DWORD, 0) for n in ("BootInTaskTray", "CloseInTaskTray", "TabMode")]
    for page in ("Kojin1", "Kojin2", "Memo", "List"):
        key = "Config/" + page
        personal = page.startswith("Kojin")
        for n, v in (("ColCount", 2 if personal else 1), ("RowCount", 6 if personal else 10),
                     ("ColWidth", 50), ("RowHeight", 14), ("ColWidthMode", 0), ("FontSize", 9),
                     ("FontBold", 0), ("FontItalic", 0)):
            r.append(record(key, n, DWORD, v))
        r.append(record(key, "FontName", STRING, "ＭＳ Ｐゴシック"))
    r.append(record("Items/Kojin1", "ItemCount", DWORD, 3))
    for k, item in enumerate(("氏名", "フリガナ", "ＴＥＬ")):
        r.append(record("Items/Kojin1", ("Item", k), STRING, item))
    r.append(record("Items/Kojin2", "ItemCount", DWORD, 0))
    r.append(record("User1", "UserName", STRING, "山田花子"))
    r.append(record("User1", "KanaSei", STRING, "やまだ"))
    r.append(record("User1", "KanjSei", STRING, "山田"))
    for n, v in (("Top", 100), ("Left", 200), ("Height", 160), ("Width", 130), ("WndTopMost", 1),
                 ("Page", 2), ("UserNo", 0)):
        r.append(record("base", n, DWORD, v))
    r.append(record("ListItems", "ItemCount", DWORD, 2))
    r.append(record("ListItems", ("Item", 0), STRING, "お世話になっております。"))
    r.append(record("ListItems", ("Item", 1), EXPAND, "表示"))
    r.append(record("ListHint", ("Hint", 0), STRING, "挨拶"))
    return r


def registry_seeds():
    std = standard_store()
    return {
        "empty": registry([]),
        "standard": registry(std),
        "standard_192dpi_user3": registry(std, dpi=192, user=3, press_ok=False),
        "huge_counts": registry(std + [
            record("Config/Kojin1", "ColCount", DWORD, 0x7FFFFFFF),
            record("Config/Memo", "RowCount", DWORD, -5),
            record("Items/Kojin2", "ItemCount", DWORD, 0x7FFFFFFF),
            record("ListItems", "ItemCount", DWORD, 70000)]),
        "negative_counts": registry(std + [
            record("Config/Memo", "ColCount", DWORD, -0x80000000),
            record("ListItems", "ItemCount", DWORD, -1)]),
        # A stored width of 2^30 wrapped to a negative preview width at 192 DPI.
        "dpi_wide_column": registry(std + [record("Config/Kojin1", "ColWidth", DWORD, 1 << 30),
                                           record("Config/List", "RowHeight", DWORD, -(1 << 30))],
                                    dpi=192),
        "wrong_types": registry(std + [
            record("Config/Kojin2", "ColCount", STRING, "12"),
            record("Config/List", "FontName", DWORD, 7),
            record("User2", "UserName", OTHER, b"\x01\x02"),
            record("User1", "TEL", DWORD, 5),
            record("ListHint", ("Hint", 1), DWORD, 1)]),
        "zeros_and_case": registry(std + [
            record("User1", "UserName", STRING, b"\x82\xa0\x00hidden", upper=True),
            record("Config/Kojin1", "FontName", STRING, b"\x00"),
            record("ListItems", ("Item", 0), STRING, b"a\x00b", upper=True),
            record("User4", "KanaMei", STRING, b"\x82\xa0\x82")]),
        "window_far_away": registry([
            record("base", n, DWORD, v) for n, v in (
                ("Top", -0x80000000), ("Left", 0x7FFFFFFF), ("Height", -1), ("Width", 0x7FFFFFFF),
                ("WndTopMost", 0), ("Page", 9), ("UserNo", -7))], user=-1, width=-1, height=0x7FFFFFFF),
        # Formats beside the items: known, unknown, beyond ItemCount, of another type.
        "formats": registry(std + [
            record("Items/Kojin1", ("Form", 2), STRING, "数字のみ"),
            record("Items/Kojin1", ("Form", 0), STRING, "ローマ字"),
            record("Items/Kojin1", ("Form", 5), STRING, "半角カナ"),
            record("Items/Kojin1", ("Form", 1), DWORD, 3, upper=True)]),
        "users_outside": registry([
            record("User0", "KanjSei", STRING, "誰"), record("User5", "UserName", STRING, "x")], user=4),
    }


def memo_seeds():
    return {
        "empty": b"\x00",
        "ascii": b"\x00Meeting notes\r\nline two\r\n",
        "japanese": b"\x01" + sjis("氏名メモ\r\n表示ソ予定\r\n"),
        "title_cut_at_lead": b"\x02" + b"a" * 199 + sjis("あ") + b"tail",
        "text_cut_at_lead": b"\x03" + b"x" * 4095 + sjis("表") + b"y" * 10,
        "zero_inside": b"\x00before\x00after",
        "lone_lead_at_end": b"\x00abc\x81",
        "blank_tail": b"\x01" + sjis("メモ") + b" \t\r\n" * 60,
        "no_slot": b"\xffnot written",
        "four_digit_slot": b"\xfe" + sjis("千二百三十四"),
    }


def text_input(n, number, text):
    return struct.pack("<Hi", n, number) + (text if isinstance(text, bytes) else sjis(text))


def text_seeds():
    fields = b"\xff".join(sjis(s) for s in ("山田", "花子", "やまだ", "はなこ", "hana@example.jp"))
    return {
        "hiragana": text_input(4, 0, "あいうえおがぱぁっょ"),
        "mixed_kana": text_input(3, -1, "やまだa"),
        "cut_in_pair": text_input(3, 7, b"a\x82\xa0\x81\x40"),
        "lead_runs": text_input(5, 255, b"\x81\x81\x81\x81\x81\x81\x40"),
        "fields": text_input(10, 1000, fields),
        "integers": text_input(0, -2147483648, "  -2147483648"),
        "hex_dollar": text_input(0, 2147483647, "$FFFFFFFF"),
        "hex_0x": text_input(0, 42, "0x7fffffff"),
        "not_integer": text_input(0, 5, "12 "),
        "catalogue_name": text_input(2, 12, "ＴＥＬ"),
        # Clipboard events: a text, busy, no text, and the palette's own.
        "caption_events": text_input(0, 0, b"\xff\x04" + sjis("本日は晴天") + b"\xff\x05busy\xff\x0a\xff\x0fplaced"
                                     + b"\xff\x10" + b"z" * 600),
        "blanks": text_input(1, 0, b" \t\r\n \x00x "),
        "value_forms": text_input(0, 0, "ﾔﾏﾀﾞ ﾀﾛｳ　やまだ　ガッコウ ｳﾞｧ ﾜﾞｱﾟ ゎヵヶゝゞヾ １ー２ 1ｰ2 ｰ3 "
                                        "ＴＥＬ‐０３―“ａ”＼～＂"),
        "value_forms_broken": text_input(0, 0, b"\x81" + sjis("ｶ") + b"\xde\x82\x0a\xa0\xfd" + sjis("１ー")
                                         + b"\x82"),
    }


def ints(*values):
    return b"".join(struct.pack("<i", v) if -2**31 <= v < 2**31 else struct.pack("<I", v) for v in values)


def geometry_input(grid, hit, rect, scroll, moves, scale, place, monitors):
    out = ints(*grid, *hit, *rect)
    area_w, area_h, vbar, hbar, offset, col, row = scroll
    out += ints(area_w, area_h) + struct.pack("<HH", vbar, hbar) + ints(offset) + struct.pack("<HH", col, row)
    from_col, from_row, page_rows, client, lines, deltas = moves
    out += ints(from_col, from_row, page_rows, client, lines) + struct.pack("<3h", *deltas)
    out += ints(*scale) + ints(*place) + bytes([len(monitors)])
    for m in monitors:
        out += ints(*m)
    return out


def geometry_seeds():
    screen = [(0, 0, 1280, 1024)]
    big, small = 2**31 - 1, -2**31
    return {
        "palette_grid": geometry_input((2, 6, 50, 14, 2), (60, 20), (0, 0, 110, 100),
                                       (110, 90, 17, 17, 0, 1, 5), (0, 0, 3, 90, 3, (120, -120, 240)),
                                       (96, 50, 9), (1280, 1024, 200, 100, 130, 160), screen),
        "largest_grid": geometry_input((32767, 32767, 32767, 32767, 255), (big, big), (small, small, big, big),
                                       (big, big, 65535, 65535, big, 65535, 65535),
                                       (big, big, big, big, big, (32767, 32767, -32768)),
                                       (big, big, small), (big, big, big, big, big, big),
                                       [(small, small, big, big)]),
        "negative_everything": geometry_input((small, small, small, small, small), (small, -1),
                                              (big, big, small, small), (small, small, 0, 0, small, 0, 0),
                                              (small, small, small, small, small, (-1, 1, -32768)),
                                              (small, small, small), (small, small, small, small, -1, -1),
                                              [(1, 1, 0, 0), (5, 5, 6, 6)]),
        # 2^30 design pixels at 192 DPI wrapped to a negative device size.
        "dpi_wide": geometry_input((1, 1, 64, 24, 2), (0, 0), (0, 0, 1, 1), (100, 100, 17, 17, 0, 0, 0),
                                   (0, 0, 1, 10, 3, (0, 0, 0)), (192, 1 << 30, 1 << 30),
                                   (1920, 1080, 3000, 2000, 130, 160), [(0, 0, 1920, 1080)]),
        "font_height_min": geometry_input((1, 1, 1, 1, 0), (0, 0), (0, 0, 0, 0), (0, 0, 0, 0, 0, 0, 0),
                                          (0, 0, 1, 0, 0, (0, 0, 0)), (72, small, small),
                                          (0, 0, 0, 0, 0, 0), []),
        "two_monitors_off_screen": geometry_input((3, 3, 10, 10, 1), (33, 10), (5, 5, 40, 40),
                                                  (20, 20, 5, 5, 7, 2, 2), (2, 2, 0, 20, -1, (60, 60, 60)),
                                                  (144, -3, 7), (1280, 1024, -5000, -5000, 130, 160),
                                                  [(0, 0, 1280, 1024), (-1920, 0, 0, 1080)]),
    }


BACKUP_RECORDS = [
    'key',
    'value "TabMode" REG_DWORD 1',
    'value "" REG_SZ "既定"',
    'value "odd" REG_SZ hex:610062',
    r'value "zeros" REG_SZ "a\u0000b\uD800𠮷\r\n\t\"\\"',
    r'value "multi" REG_MULTI_SZ "a\u0000b\u0000"',
    'value "custom" 0x12345678 hex:78797A',
    'value "none" REG_NONE hex:',
    'key "Config"',
    'key "Config" "Memo"',
    'value "ColCount" REG_DWORD 2',
    'value "RowCount" REG_DWORD 3',
    'key "氏名𠮷"',
    # 一 and 丁 are 0x8140 and 0x8141 to the target's stand-in code page.
    r'memo 0 "一丁\x87\x40ｱ\r\n\x00\x82"',
    'memo 5 ""',
]


def backup_file(records, bom=True, newline="\r\n"):
    lines = ["Tabcard backup 1"] + records
    crc = zlib.crc32(b"".join(line.encode() + b"\n" for line in lines))
    lines.append("end %d %08X" % (len(records), crc))
    return (b"\xef\xbb\xbf" if bom else b"") + "".join(line + newline for line in lines).encode()


def backup_input(text, seal=False, cut=0):
    return bytes([1 if seal else 0]) + struct.pack("<H", cut) + text


def backup_seeds():
    sample = backup_file(BACKUP_RECORDS)
    unsealed = "".join(line + "\n" for line in ["Tabcard backup 1"] + BACKUP_RECORDS).encode()
    return {
        "sample": backup_input(sample, cut=100),
        "sample_lf_without_bom": backup_input(backup_file(BACKUP_RECORDS, bom=False, newline="\n"), cut=7),
        "records_sealed": backup_input(unsealed, seal=True, cut=40),
        "cut_in_half": backup_input(sample[:len(sample) // 2]),
        "duplicate_value": backup_input(b'Tabcard backup 1\nkey\nvalue "a" REG_DWORD 1\nvalue "A" REG_DWORD 2\n',
                                        seal=True),
        "no_keys": backup_input(b"Tabcard backup 1\n", seal=True, cut=3),
        "newer_version": backup_input(b"Tabcard backup 2\n", seal=True),
        "foreign": backup_input(b"hello\r\n"),
    }


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    for target, seeds in (("fuzz_registry", registry_seeds()), ("fuzz_memo", memo_seeds()),
                          ("fuzz_text", text_seeds()), ("fuzz_geometry", geometry_seeds()),
                          ("fuzz_backup", backup_seeds())):
        os.makedirs(os.path.join(out, target), exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(out, target, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
