#!/usr/bin/env python3
"""Writes templates/formula-samples/lookup-500.xls, the lookup benchmark's workbook: a price
table of 2,000 rows on 资料 (E code, F name, G price) and on 码单 500 formulas looking the
prices up, half through whole columns (资料!$E:$G), half through the table's rows, with
random codes (fixed seed). Needs LibreOffice."""
import os, random, subprocess, tempfile

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
    xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
    office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body><office:spreadsheet>
"""


def text(v):
    return f'<table:table-cell office:value-type="string"><text:p>{v}</text:p></table:table-cell>'


def number(v):
    return f'<table:table-cell office:value-type="float" office:value="{v}"/>'


def main():
    rng = random.Random(28)
    out = [HEAD, '<table:table table:name="码单">']
    for i in range(500):
        r = i + 1
        code = f"P{rng.randrange(1, 2001):04d}"
        table = "$'资料'.$E:.$G" if i % 2 == 0 else "$'资料'.$E$1:.$G$2000"
        out.append(f"<table:table-row>{text(code)}"
                   f'<table:table-cell table:formula="of:=VLOOKUP([.A{r}];[{table}];3;0)*2"/>'
                   "</table:table-row>")
    out.append('</table:table><table:table table:name="资料">')
    for i in range(2000):
        out.append("<table:table-row><table:table-cell table:number-columns-repeated=\"4\"/>"
                   f"{text(f'P{i + 1:04d}')}{text(f'材{i + 1}')}{number(100 + i * 0.5)}"
                   "</table:table-row>")
    out.append("</table:table></office:spreadsheet></office:body></office:document>\n")
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "templates",
                        "formula-samples")
    with tempfile.TemporaryDirectory() as work:
        draft = os.path.join(work, "lookup-500.fods")
        with open(draft, "w", encoding="utf-8") as f:
            f.write("".join(out))
        subprocess.run(["soffice", "--headless", f"-env:UserInstallation=file://{work}/profile",
                        "--convert-to", "xls:MS Excel 97", "--outdir", here, draft],
                       check=True, capture_output=True)
    print("wrote", os.path.join(here, "lookup-500.xls"))


if __name__ == "__main__":
    main()
