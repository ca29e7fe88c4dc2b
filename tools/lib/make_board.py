#!/usr/bin/python3
"""Writes a board of N circuits (default 60) as an input workbook, with the
sample's switch library: the window checks and screenshots fill the list
with it.

Run: /usr/bin/python3 make_board.py OUTPUT [N]  (needs python3-xlwt)
"""
import os
import sys

sys.dont_write_bytecode = True  # leaves the source tree as it was
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "res", "sample"))
import xlwt  # noqa: E402

from make_sample_workbook import CIRCUIT_HEADER, SWITCH_HEADER, SWITCHES, write_rows  # noqa: E402

KINDS = [("WL", 0.9, 0.9, "照明"), ("WX", 0.6, 0.85, "插座"), ("WK", 0.8, 0.8, "空调"), ("WP", 0.7, 0.8, "动力")]


def circuits(count):
    rows = []
    for n in range(count):
        prefix, demand, factor, use = KINDS[n % len(KINDS)]
        power = round(0.8 + (n * 37 % 45) / 10, 1)
        rows.append((f"{prefix}{n // len(KINDS) + 1}", f"L{n % 3 + 1}", power, demand, factor,
                     f"{n // 8 + 1}层{use}回路"))
    return rows


def main():
    output = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 60
    book = xlwt.Workbook(encoding="utf-8")
    write_rows(book.add_sheet("线路负荷计算"), CIRCUIT_HEADER, circuits(count))
    write_rows(book.add_sheet("开关型号库"), SWITCH_HEADER, [[name] + ratings for name, ratings in SWITCHES])
    book.save(output)


if __name__ == "__main__":
    main()
