#!/usr/bin/env python3
"""Writes src/xls/formula/gbk_table.cpp: the double-byte characters of code page 936 (GBK),
which CHAR and CODE use as Chinese Excel does. The table comes from Python's own cp936
codec, so it is the same on every system the program is built on (MinGW has no iconv).
Run from the repository's root: tools/make_gbk_table.py"""
import os

FIRST_LEAD, LAST_LEAD = 0x81, 0xFE
FIRST_TRAIL, LAST_TRAIL = 0x40, 0xFE


def character(lead, trail):
    if trail == 0x7F:
        return 0
    try:
        text = bytes([lead, trail]).decode("cp936")
    except UnicodeDecodeError:
        return 0
    return ord(text) if len(text) == 1 and ord(text) < 0x10000 else 0


def main():
    values = [character(lead, trail) for lead in range(FIRST_LEAD, LAST_LEAD + 1)
              for trail in range(FIRST_TRAIL, LAST_TRAIL + 1)]
    lines = []
    for start in range(0, len(values), 12):
        lines.append("    " + ", ".join(f"0x{v:04X}" for v in values[start:start + 12]) + ",")
    path = os.path.join("src", "xls", "formula", "gbk_table.cpp")
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("// Written by tools/make_gbk_table.py from Python's cp936 codec; do not edit.\n")
        out.write('#include "xls/formula/gbk_table.h"\n\n')
        out.write("namespace xls::formula {\n\n")
        out.write("// clang-format off\n")
        out.write(f"const char16_t kGbkCharacters[{len(values)}] = {{\n")
        out.write("\n".join(lines) + "\n};\n")
        out.write("// clang-format on\n\n")
        out.write("}  // namespace xls::formula\n")


if __name__ == "__main__":
    main()
