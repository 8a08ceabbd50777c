#!/usr/bin/python3
"""Differential test of the formula engine against LibreOffice.

    tools/formula_differential.py XLSCELL [--seeds 1,2,3] [--formulas 80] [--keep DIR]

For each seed: formulas are generated over the functions bill templates use, with inputs
in C1:E20 of a sheet; LibreOffice saves them as .xls; Verdalon's engine writes new inputs
into the file as the export writes a tally (xlscell set, which saves and computes every
formula); then the results the engine stored (read with xlrd, which computes nothing) are
compared with LibreOffice's recalculation of the same saved file. Prints one line per
difference and a count; exits 1 where any result differs. Formulas the engine leaves to the
spreadsheet program are counted, not compared. Needs LibreOffice and python3-xlrd (Debian's
/usr/bin/python3).
"""

import argparse
import csv
import html
import io
import math
import os
import random
import subprocess
import sys
import tempfile

import xlrd

ROWS = 20  # inputs in C1:E20
TEXTS = ["松木", "abc", "Abc", "12", "  a b  ", "0.5", "张记木业", "x-y", ""]
FORMATS = ["0.00", "0", "#,##0.0", "0%", "0.0%", "000"]


class Generator:
    """Random formulas in OpenFormula syntax, typed so that most compute to a value."""

    def __init__(self, rng):
        self.rng = rng

    def cell(self):
        return f"[.{self.rng.choice('CDE')}{self.rng.randint(1, ROWS)}]"

    def column_range(self):
        column = self.rng.choice("CDE")
        first = self.rng.randint(1, ROWS - 4)
        return f"[.{column}{first}:.{column}{first + self.rng.randint(1, 4)}]"

    def table(self):
        first = self.rng.randint(1, ROWS - 5)
        return f"[.C{first}:.E{first + self.rng.randint(2, 5)}]"

    def number(self, depth=0):
        r = self.rng
        leaf = depth >= 3 or r.random() < 0.25
        if leaf:
            return r.choice([self.cell(), str(r.randint(-5, 40)), f"{r.uniform(-10, 10):.2f}"])
        n = lambda: self.number(depth + 1)  # noqa: E731
        choices = [
            lambda: f"{n()}{r.choice('+-*')}{n()}",
            lambda: f"{n()}/{n()}",
            lambda: f"ROUND({n()};{r.randint(0, 3)})",
            lambda: f"ABS({n()})",
            lambda: f"INT({n()})",
            lambda: f"MOD({n()};{r.randint(1, 7)})",
            lambda: f"SUM({self.column_range()})",
            lambda: f"AVERAGE({self.column_range()})",
            lambda: f"MAX({self.column_range()};{n()})",
            lambda: f"MIN({self.column_range()})",
            lambda: f"COUNT({self.column_range()})",
            lambda: f"COUNTA({self.column_range()})",
            lambda: f"COUNTBLANK({self.column_range()})",
            lambda: f"COUNTIF({self.column_range()};\"{r.choice(['>', '<', '>=', '<>'])}{r.randint(0, 20)}\")",
            lambda: f"SUMIF({self.column_range()};\">{r.randint(0, 20)}\")",
            lambda: "SUMPRODUCT([.C1:.C5];[.D1:.D5])",
            lambda: f"MEDIAN({self.column_range()})",
            lambda: f"LARGE({self.column_range()};1)",
            lambda: f"SMALL({self.column_range()};1)",
            lambda: f"IF({self.boolean(depth + 1)};{n()};{n()})",
            lambda: f"LEN({self.text(depth + 1)})",
            lambda: f"FIND(\"a\";{self.text(depth + 1)}&\"a\")",
            lambda: f"CEILING({n()};1)",
            lambda: f"FLOOR({n()};1)",
            lambda: f"SIGN({n()})",
            lambda: f"SQRT(ABS({n()}))",
            lambda: f"POWER({n()};2)",
            lambda: f"VLOOKUP({self.cell()};{self.table()};{r.randint(1, 3)};0)",
            lambda: f"MATCH({self.cell()};{self.column_range()};0)",
            lambda: f"INDEX({self.column_range()};{r.randint(1, 2)})",
            lambda: f"ROWS({self.table()})",
            lambda: f"SUBTOTAL({r.choice([1, 2, 4, 5, 9, 109])};{self.column_range()})",
            lambda: f"VALUE(\"{r.choice(['12', '1.5', '-3'])}\")",
            lambda: f"TRUNC({n()};1)",
            lambda: f"PRODUCT({self.column_range()})",
            lambda: f"SUMPRODUCT(--{r.choice(['ISBLANK', 'ISNUMBER', 'ISTEXT', 'ISNONTEXT', 'ISERROR'])}({self.column_range()}))",
            lambda: (lambda c: f"SUMPRODUCT(ISNUMBER({c})*1;{c})")(self.column_range()),
        ]
        return r.choice(choices)()

    def text(self, depth=0):
        r = self.rng
        if depth >= 3 or r.random() < 0.3:
            return r.choice([self.cell(), '"' + r.choice(TEXTS) + '"'])
        t = lambda: self.text(depth + 1)  # noqa: E731
        choices = [
            lambda: f"{t()}&{t()}",
            lambda: f"LEFT({t()};{r.randint(0, 3)})",
            lambda: f"RIGHT({t()};{r.randint(1, 3)})",
            lambda: f"MID({t()};{r.randint(1, 3)};{r.randint(1, 3)})",
            lambda: f"UPPER({t()})",
            lambda: f"LOWER({t()})",
            lambda: f"TRIM({t()})",
            lambda: f"REPT({t()};{r.randint(0, 3)})",
            lambda: f"SUBSTITUTE({t()};\"a\";\"b\")",
            lambda: f"TEXT({self.number(depth + 1)};\"{r.choice(FORMATS)}\")",
            lambda: f"CONCATENATE({t()};{self.number(depth + 1)})",
            lambda: f"IF({self.boolean(depth + 1)};{t()};{t()})",
        ]
        return r.choice(choices)()

    def boolean(self, depth=0):
        r = self.rng
        choices = [
            # Operands in brackets: LibreOffice writes `a&b=c` into the file as a&(b=c),
            # which Excel computes as written and LibreOffice, reading it back, otherwise.
            lambda: f"({self.number(depth + 1)}){r.choice(['=', '<>', '<', '>', '<=', '>='])}({self.number(depth + 1)})",
            lambda: f"({self.text(depth + 1)})=({self.text(depth + 1)})",
            lambda: f"ISNUMBER({self.cell()})",
            lambda: f"ISTEXT({self.cell()})",
            lambda: f"ISBLANK({self.cell()})",
            lambda: f"AND({self.boolean(depth + 2)};{self.boolean(depth + 2)})" if depth < 2
            else "TRUE()",
            lambda: f"NOT({self.cell()}>3)",
        ]
        return r.choice(choices)()

    def formula(self):
        kind = self.rng.random()
        if kind < 0.55:
            return self.number()
        if kind < 0.85:
            return self.text()
        return self.boolean()

    def input_value(self):
        r = self.rng.random()
        if r < 0.55:
            return self.rng.choice([self.rng.randint(-3, 30), round(self.rng.uniform(0, 50), 2)])
        if r < 0.85:
            return self.rng.choice(TEXTS[:-1])
        return None


def value_cell(value):
    if value is None:
        return "<table:table-cell/>"
    if isinstance(value, (int, float)):
        return f'<table:table-cell office:value-type="float" office:value="{value}"/>'
    return (f'<table:table-cell office:value-type="string"><text:p>{html.escape(value)}'
            "</text:p></table:table-cell>")


def write_fods(path, formulas, inputs):
    rows = []
    for r in range(max(len(formulas), ROWS)):
        cells = [value_cell(formulas[r]) if r < len(formulas) else "<table:table-cell/>"]
        if r < len(formulas):
            cells.append(f'<table:table-cell table:formula="{html.escape("of:=" + formulas[r])}"/>')
        else:
            cells.append("<table:table-cell/>")
        cells += [value_cell(v) for v in (inputs[r] if r < ROWS else (None, None, None))]
        rows.append("<table:table-row>" + "".join(cells) + "</table:table-row>")
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
                ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
                ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"'
                ' xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"'
                ' office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
                "<office:body><office:spreadsheet><table:table table:name=\"cases\">"
                + "".join(rows) + "</table:table></office:spreadsheet></office:body></office:document>\n")


def soffice(work, *arguments):
    subprocess.run(["soffice", "--headless", f"-env:UserInstallation=file://{work}/profile",
                    *arguments], check=True, capture_output=True, cwd=work)


def libreoffice_results(xls, work):
    out = os.path.join(work, "csv")
    os.makedirs(out, exist_ok=True)
    soffice(work, "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false",
            "--outdir", out, xls)
    with open(os.path.join(out, os.path.splitext(os.path.basename(xls))[0] + ".csv"),
              encoding="utf-8") as f:
        return [row[1] if len(row) > 1 else "" for row in csv.reader(f)]


def same(stored, cell_type, expected):
    """Whether xlrd's stored result and LibreOffice's CSV text say the same."""
    if cell_type == xlrd.XL_CELL_ERROR:
        return expected.startswith("#") or expected.startswith("Err:")
    if cell_type == xlrd.XL_CELL_BOOLEAN:
        return expected in (("TRUE", "1") if stored else ("FALSE", "0"))
    if cell_type == xlrd.XL_CELL_NUMBER:
        if stored == 0 and expected == "":
            return True  # a result that is an empty cell: Excel shows 0, LibreOffice nothing
        try:
            other = float(expected)
        except ValueError:
            return False
        return math.isclose(stored, other, rel_tol=1e-9, abs_tol=1e-9)
    return str(stored) == expected


def run_seed(seed, count, xlscell, work):
    rng = random.Random(seed)
    gen = Generator(rng)
    formulas = [gen.formula() for _ in range(count)]
    inputs = [tuple(gen.input_value() for _ in range(3)) for _ in range(ROWS)]
    source = os.path.join(work, f"seed{seed}.fods")
    write_fods(source, formulas, inputs)
    soffice(work, "--convert-to", "xls:MS Excel 97", "--outdir", work, source)
    book = os.path.join(work, f"seed{seed}.xls")
    # New inputs written as the export writes a tally: texts, numbers as their texts.
    arguments = []
    for row in range(1, ROWS + 1):
        for column in (3, 4, 5):
            value = gen.input_value()
            arguments += [str(row), str(column), "" if value is None else str(value)]
    subprocess.run([xlscell, book, "set", "cases", *arguments], check=True)
    expected = libreoffice_results(book, work)
    sheet = xlrd.open_workbook(book).sheet_by_name("cases")
    differences = []
    left = 0
    for r, formula in enumerate(formulas):
        cell = sheet.cell(r, 1)
        if cell.ctype == xlrd.XL_CELL_ERROR and xlrd.error_text_from_code.get(cell.value) == "#N/A" \
                and expected[r] != "#N/A":
            left += 1  # left to the spreadsheet program, or an #N/A of our own
            differences.append((r + 1, formula, "#N/A", expected[r]))
            continue
        if not same(cell.value, cell.ctype, expected[r]):
            differences.append((r + 1, formula, cell.value, expected[r]))
    return differences, left


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("xlscell")
    parser.add_argument("--seeds", default="1,2,3")
    parser.add_argument("--formulas", type=int, default=80)
    parser.add_argument("--keep")
    args = parser.parse_args()
    total = 0
    failed = 0
    with tempfile.TemporaryDirectory() as temporary:
        work = args.keep or temporary
        os.makedirs(work, exist_ok=True)
        for seed in (int(s) for s in args.seeds.split(",")):
            differences, _ = run_seed(seed, args.formulas, os.path.abspath(args.xlscell), work)
            total += args.formulas
            failed += len(differences)
            for row, formula, ours, theirs in differences:
                print(f"seed {seed} row {row}: ={formula}\n  Verdalon {ours!r}, LibreOffice {theirs!r}")
    print(f"formulas: {total - failed} agree with LibreOffice, {failed} differ")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
