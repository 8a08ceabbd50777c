#!/usr/bin/env python3
"""Regenerates templates/formula-samples/formula-cases.{fods,xls}: the evaluator's table of
cases. Each row holds a formula (B, in OpenFormula syntax below, {C} {D} {E} naming the
row's inputs), its inputs (C:E) and, in F, the result LibreOffice computes for it (read
back from LibreOffice's CSV, so the expected values are LibreOffice's, not ours).
Needs LibreOffice."""
import html, os, subprocess, sys, tempfile

# (formula, inputs, note[, excel]): an input is a number, a text, True/False, or None
# (empty); `excel`, where given, is Excel's result where LibreOffice's differs (an error as
# its text), and stands in F for LibreOffice's.
CASES = [
    ("{C}+{D}*2", (1.5, 2, None), "arithmetic precedence"),
    ("{C}-{D}/4", (10, 3, None), "division"),
    ("{C}^2+-{D}", (3, 4, None), "power and unary minus"),
    ("{C}%*200", (15, None, None), "percent"),
    ("{C}/{D}", (1, 0, None), "#DIV/0!"),
    ("{C}+{D}", (1, "abc", None), "text in arithmetic: #VALUE!"),
    ("{C}+{D}", (1, "2.5", None), "numeric text in arithmetic"),
    ("{C}&{D}&{E}", ("甲", 12.5, None), "concatenation"),
    ("{C}&\"\"", (0.1 + 0.2, None, None), "15 significant digits"),
    ("{C}={D}", ("ABC", "abc", None), "texts compare without case"),
    ("{C}<{D}", (5, "1", None), "numbers before texts"),
    ("{C}<>{D}", (None, 0, None), "empty equals 0"),
    ("{C}=\"\"", (None, None, None), "empty equals empty text"),
    ("SUM({C};{D};{E})", (1, "x", True), "SUM of cells ignores text and booleans"),
    ("SUM([.C{r}:.E{r}])*1", (2, 3, "4"), "SUM of a range"),
    ("SUMIF([.C{r}:.E{r}];\">2\")", (2, 3, 4), "SUMIF with a comparison"),
    ("SUMIF([.C{r}:.E{r}];\"a*\";[.C{r}:.E{r}])", ("ab", "b", "ac"), "SUMIF wildcard, no numbers"),
    ("COUNTIF([.C{r}:.E{r}];\"<>\")", (1, None, "x"), "COUNTIF non-empty"),
    ("COUNTIF([.C{r}:.E{r}];3)", (3, "3", 3), "COUNTIF number"),
    ("SUMPRODUCT([.C{r}:.D{r}];[.D{r}:.E{r}])", (2, 3, 4), "SUMPRODUCT"),
    ("PRODUCT([.C{r}:.E{r}])", (2, None, 4), "PRODUCT skips empty"),
    ("COUNT([.C{r}:.E{r}])", (1, "2", True), "COUNT counts numbers only"),
    ("COUNTA([.C{r}:.E{r}])", (1, None, "x"), "COUNTA"),
    ("AVERAGE([.C{r}:.E{r}])", (1, 2, "x"), "AVERAGE"),
    ("AVERAGE([.C{r}:.E{r}])", (None, "x", None), "AVERAGE of nothing"),
    ("MIN([.C{r}:.E{r}])+MAX([.C{r}:.E{r}])", (-2, 7, 3), "MIN and MAX"),
    ("ABS({C})+INT({D})", (-2.5, -3.5, None), "ABS, INT rounds down"),
    ("TRUNC({C};1)+TRUNC({D})", (-2.57, 3.9, None), "TRUNC"),
    ("MOD({C};{D})", (-7, 3, None), "MOD takes the divisor's sign"),
    ("MOD({C};{D})", (7, 0, None), "MOD by 0"),
    ("ROUND({C};2)", (1.005, None, None), "ROUND half away from zero, as a decimal"),
    ("ROUND({C};2)", (-2.675, None, None), "ROUND of a negative half"),
    ("ROUND({C};-2)", (-1250, None, None), "ROUND to hundreds"),
    ("ROUNDUP({C};1)", (-1.21, None, None), "ROUNDUP away from zero"),
    ("ROUNDDOWN({C};1)", (1.29, None, None), "ROUNDDOWN"),
    ("ROUND({C}*1.13;2)", (2301.77, None, None), "tax-inclusive"),
    ("IF({C}=\"\";\"\";{C}&\"（收）\")", ("王五", None, None), "IF echoing the buyer"),
    ("IF({C}=\"\";\"\";{C}&\"（收）\")", (None, None, None), "IF with no buyer"),
    ("IF({C};{D})", (0, 5, None), "IF without an else"),
    ("AND({C};{D})", (1, True, None), "AND"),
    ("OR({C};{D})", (0, False, None), "OR"),
    ("NOT({C})", (0, None, None), "NOT"),
    ("ISBLANK({C})", (None, None, None), "ISBLANK"),
    ("ISNUMBER({C})", ("1", None, None), "ISNUMBER of text"),
    ("ISERROR({C}/{D})", (1, 0, None), "ISERROR"),
    ("IFERROR({C}/{D};\"无\")", (1, 0, None), "IFERROR"),
    ("TEXT({C};\"0.00\")", (1234.5, None, None), "TEXT"),
    ("TEXT({C};\"#,##0\")", (1234567.891, None, None), "TEXT with separators"),
    ("VALUE({C})+1", ("12.5", None, None), "VALUE"),
    ("LEN({C})", ("锯材码单", None, None), "LEN"),
    ("LEFT({C};2)&RIGHT({C})&MID({C};2;2)", ("abcdef", None, None), "LEFT RIGHT MID"),
    ("MID({C};9;2)", ("abc", None, None), "MID past the end"),
    ("CONCATENATE({C};\"-\";{D})", ("x", 2, None), "CONCATENATE"),
    ("TRIM({C})", ("  a   b  ", None, None), "TRIM"),
    ("REPT({C};3)", ("ab", None, None), "REPT"),
    ("DATE({C};{D};{E})", (2024, 2, 29), "DATE"),
    ("DATE({C};{D};{E})", (2023, 14, 0), "DATE rolls over"),
    ("YEAR({C})*10000+MONTH({C})*100+DAY({C})", (45351, None, None), "YEAR MONTH DAY"),
    ("MONTH({C})*100+DAY({C})", (61, None, None), "1900-03-01, after 1900-02-29"),
    ("TODAY()-INT(NOW())", (None, None, None), "TODAY and NOW"),
    # Lookup and reference functions.
    ("VLOOKUP({C};[.C{r}:.E{r}];3;0)", ("甲", 2, "乙"), "VLOOKUP exact, third column"),
    ("VLOOKUP(\"b\";{\"a\";1|\"B\";2|\"c\";3};2;0)", (None, None, None), "VLOOKUP exact ignores case"),
    ("VLOOKUP(2.5;{1;\"x\"|2;\"y\"|3;\"z\"};2)", (None, None, None), "VLOOKUP sorted: last not above"),
    ("VLOOKUP(0;{1;\"x\"|2;\"y\"};2)", (None, None, None), "VLOOKUP sorted, below the first: #N/A"),
    ("VLOOKUP(\"q\";{\"a\";1};2;0)", (None, None, None), "VLOOKUP not found: #N/A"),
    ("VLOOKUP({C};[.C{r}:.E{r}];4;0)", (1, 2, 3), "VLOOKUP past the table: #REF!", "#REF!"),
    ("VLOOKUP({C};[.C{r}:.E{r}];0;0)", (1, 2, 3), "VLOOKUP column 0: #VALUE!", "#VALUE!"),
    ("VLOOKUP(\"a?c\";{\"abd\";1|\"abc\";2};2;0)", (None, None, None), "VLOOKUP wildcard ?", 2),
    ("HLOOKUP({D};[.C{r}:.E{r}];1;0)", (5, 7, 9), "HLOOKUP finds in the row"),
    ("HLOOKUP(8;{5;7;9|\"a\";\"b\";\"c\"};2)", (None, None, None), "HLOOKUP sorted, second row"),
    ("MATCH({D};[.C{r}:.E{r}];0)", ("x", "y", "z"), "MATCH exact"),
    ("MATCH(\"*班*\";[.C{r}:.E{r}];0)", ("甲", "夜班组", "乙"), "MATCH wildcard *"),
    ("MATCH(\"~*\";[.C{r}:.E{r}];0)", ("a", "*", "b"), "MATCH ~ takes * literally"),
    ("MATCH(6;[.C{r}:.E{r}])", (1, 5, 10), "MATCH 1, sorted rising"),
    ("MATCH(6;[.C{r}:.E{r}];-1)", (10, 5, 1), "MATCH -1, sorted falling"),
    ("MATCH(11;[.C{r}:.E{r}];-1)", (10, 5, 1), "MATCH -1, above all: #N/A"),
    ("LOOKUP(6;[.C{r}:.E{r}];{\"a\";\"b\";\"c\"})", (1, 5, 10), "LOOKUP vector form"),
    ("LOOKUP(2;{1;\"one\"|2;\"two\"|3;\"three\"})", (None, None, None), "LOOKUP array form, last column"),
    ("INDEX([.C{r}:.E{r}];1;2)", ("a", "b", "c"), "INDEX row and column"),
    ("INDEX([.C{r}:.E{r}];3)", ("a", "b", "c"), "INDEX of one row takes the column"),
    ("INDEX({1;2|3;4};2;1)", (None, None, None), "INDEX of an array"),
    ("INDEX([.C{r}:.E{r}];2;1)", ("a", "b", "c"), "INDEX past the range: #REF!", "#REF!"),
    ("SUM(INDEX([.C{r}:.E{r}];1;0))", (1, 2, 3), "INDEX column 0: the whole row"),
    ("ROW()*1000+COLUMN()", (None, None, None), "ROW and COLUMN of the formula's cell"),
    ("ROW([.D7])+COLUMN([.E7:.E9])", (None, None, None), "ROW and COLUMN of a reference"),
    ("ROWS([.C2:.E9])*10+COLUMNS([.C2:.E9])", (None, None, None), "ROWS and COLUMNS"),
    ("ROWS({1;2;3|4;5;6})", (None, None, None), "ROWS of an array"),
    ("SUM(OFFSET([.C{r}];0;1;1;2))", (1, 2, 3), "OFFSET with height and width"),
    ("OFFSET([.C{r}];0;2)", (1, 2, 3), "OFFSET to one cell"),
    ("OFFSET([.C{r}];-70000;0)", (1, 2, 3), "OFFSET off the sheet: #REF!", "#REF!"),
    ("INDIRECT(\"D\"&ROW())", (1, "五", 3), "INDIRECT A1"),
    ("SUM(INDIRECT(\"$C$\"&ROW()&\":E\"&ROW()))", (1, 2, 3), "INDIRECT of a range", 6),
    ("INDIRECT(\"cases!E\"&ROW())", (1, 2, "表"), "INDIRECT with the sheet", "表"),
    ("INDIRECT(\"R\"&ROW()&\"C4\";0)", (1, "右", 3), "INDIRECT R1C1"),
    ("INDIRECT(\"RC[2]\";0)", (1, 2, 9), "INDIRECT R1C1 relative"),
    ("INDIRECT(\"A1B\")", (None, None, None), "INDIRECT of no reference: #REF!"),
    ("ADDRESS(3;4)", (None, None, None), "ADDRESS absolute"),
    ("ADDRESS(3;28;4)", (None, None, None), "ADDRESS relative, two letters"),
    ("ADDRESS(3;4;2;0)", (None, None, None), "ADDRESS R1C1"),
    ("ADDRESS(1;1;1;1;\"资料\")", (None, None, None), "ADDRESS with a sheet", "资料!$A$1"),
    ("SUMPRODUCT(TRANSPOSE({1;2;3});{1|2|3})", (None, None, None), "TRANSPOSE"),
    ("VLOOKUP({C};[.C{r}:.E{r}];2;0)&\"|\"", ("k", None, 1), "VLOOKUP of an empty cell: empty text"),
    ("VLOOKUP({C};[.C{r}:.E{r}];2;0)", ("k", None, 1), "VLOOKUP of an empty cell: 0", 0),
    ("MATCH(\"5\";[.C{r}:.E{r}];0)", (5, "5", 6), "MATCH a text, not the number", 2),
    ("MATCH({D};[.C:.C];0)", (None, 84, None), "MATCH in a whole column"),
    ("LOOKUP(7;[.C{r}:.E{r}];[.E{r}])", (1, 5, 10), "LOOKUP reads past its result vector"),
    ("VLOOKUP(2.5;{1;\"x\"|2;\"y\"};2;)", (None, None, None), "VLOOKUP with FALSE left empty: exact"),
    ("MATCH(6;[.C{r}:.E{r}];)", (1, 5, 10), "MATCH with its type left empty: exact"),
    ("ROW(OFFSET([.C{r}];-70000;0))", (None, None, None), "ROW of an error", "#REF!"),
]

ODS_HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<!-- The evaluator's table of cases, written by tools/make_formula_cases.py: B the formula,
     C:E its inputs, F the result LibreOffice computes, G what the case shows. -->
<office:document
    xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
    xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
    office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body>
  <office:spreadsheet>
   <table:table table:name="cases">
"""
ODS_TAIL = """   </table:table>
  </office:spreadsheet>
 </office:body>
</office:document>
"""


def value_cell(v):
    if v is None:
        return "<table:table-cell/>"
    if isinstance(v, bool):
        b = "true" if v else "false"
        return (f'<table:table-cell office:value-type="boolean" office:boolean-value="{b}">'
                f"<text:p>{b.upper()}</text:p></table:table-cell>")
    if isinstance(v, (int, float)):
        return (f'<table:table-cell office:value-type="float" office:value="{v!r}">'
                f"<text:p>{v!r}</text:p></table:table-cell>")
    return (f'<table:table-cell office:value-type="string"><text:p>{html.escape(v)}</text:p>'
            "</table:table-cell>")


# An error is kept as a formula that gives it: a file has no error constants of its own.
ERRORS = {"#DIV/0!": "1/0", "#VALUE!": "&quot;a&quot;+1", "#N/A": "NA()", "#NUM!": "SQRT(-1)",
          "#REF!": "#REF!"}


def expected_cell(text, formula):
    """LibreOffice's CSV value as a constant of the right kind (its booleans are 1 and 0,
    its dates MM/DD/YYYY; TEXT gives texts that read as numbers)."""
    if formula.startswith("TEXT(") or "&" in formula:
        return value_cell(text)
    try:
        return value_cell(float(text))
    except ValueError:
        pass
    if text in ("TRUE", "FALSE"):
        return value_cell(text == "TRUE")
    if text in ERRORS:
        return f'<table:table-cell table:formula="of:={ERRORS[text]}"/>'
    parts = text.split("/")
    if len(parts) == 3 and all(p.isdigit() for p in parts):
        import datetime
        day = datetime.date(int(parts[2]), int(parts[0]), int(parts[1]))
        return value_cell(float((day - datetime.date(1899, 12, 30)).days))
    return value_cell(text)


def write(path, expected):
    out = [ODS_HEAD]
    for i, (formula, inputs, note, *excel) in enumerate(CASES):
        r = i + 1
        f = formula.replace("{C}", f"[.C{r}]").replace("{D}", f"[.D{r}]") \
                   .replace("{E}", f"[.E{r}]").replace("{r}", str(r))
        cells = [value_cell(formula),
                 f'<table:table-cell table:formula="{html.escape("of:=" + f, quote=True)}"/>']
        cells += [value_cell(v) for v in inputs]
        if excel and expected:
            given = excel[0]
            cells.append(f'<table:table-cell table:formula="of:={ERRORS[given]}"/>'
                         if given in ERRORS else value_cell(given))
        else:
            cells.append(expected_cell(expected[i], formula) if expected else "<table:table-cell/>")
        cells.append(value_cell(note))
        out.append("    <table:table-row>" + "".join(cells) + "</table:table-row>\n")
    out.append(ODS_TAIL)
    with open(path, "w", encoding="utf-8") as f:
        f.write("".join(out))


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "templates",
                        "formula-samples")
    with tempfile.TemporaryDirectory() as work:
        profile = f"-env:UserInstallation=file://{work}/profile"
        draft = os.path.join(work, "formula-cases.fods")
        write(draft, None)
        # Computed from the .xls, as the engine reads it (text comparisons there ignore case).
        subprocess.run(["soffice", "--headless", profile, "--convert-to", "xls:MS Excel 97",
                        "--outdir", work, draft], check=True, capture_output=True)
        subprocess.run(["soffice", "--headless", profile, "--convert-to",
                        "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false",
                        "--outdir", work, os.path.join(work, "formula-cases.xls")],
                       check=True, capture_output=True)
        import csv
        with open(os.path.join(work, "formula-cases.csv"), encoding="utf-8") as f:
            expected = [row[1] for row in csv.reader(f)]
        final = os.path.join(here, "formula-cases.fods")
        write(final, expected)
        subprocess.run(["soffice", "--headless", profile, "--convert-to", "xls:MS Excel 97",
                        "--outdir", here, final], check=True, capture_output=True)
    print("wrote", os.path.join(here, "formula-cases.xls"))


if __name__ == "__main__":
    sys.exit(main())
