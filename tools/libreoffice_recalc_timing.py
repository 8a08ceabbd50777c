#!/usr/bin/python3
"""How long LibreOffice takes to recalculate a workbook, to set beside the engine's benchmark.

    tools/libreoffice_recalc_timing.py [WORKBOOK] [--runs 7]

Starts a headless LibreOffice of its own (a fresh profile), loads the workbook hidden and
times calculateAll() in LibreOffice's process, several times; prints each time and the
median in milliseconds. Loading and start-up are left out, so the figure compares with
bench/workbook_bench.cpp's BM_CalculateFormulas (lookup_500 by default, the sample of
tools/make_lookup_bench.py). Needs LibreOffice and python3-uno (Debian's /usr/bin/python3).
"""

import argparse
import os
import statistics
import subprocess
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT = os.path.join(HERE, "..", "templates", "formula-samples", "lookup-500.xls")

# Each call goes over the UNO bridge to the running LibreOffice and returns when the
# recalculation is done; the bridge's round trip (well under a millisecond) is small beside it.


def connect(pipe, attempts=100):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(attempts):
        try:
            return resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
        except NoConnectException:
            time.sleep(0.2)
    raise SystemExit("LibreOffice did not answer")


def hidden():
    option = PropertyValue()
    option.Name = "Hidden"
    option.Value = True
    return (option,)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("workbook", nargs="?", default=DEFAULT)
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        pipe = f"verdalon_timing_{os.getpid()}"
        office = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore",
             f"-env:UserInstallation=file://{work}/profile", f"--accept=pipe,name={pipe};urp;"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            context = connect(pipe)
            desktop = context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context)
            url = uno.systemPathToFileUrl(os.path.abspath(args.workbook))
            document = desktop.loadComponentFromURL(url, "_blank", 0, hidden())
            if document is None or not hasattr(document, "calculateAll"):
                raise SystemExit(f"LibreOffice did not open {args.workbook} as a spreadsheet")
            first = document.Sheets.getByIndex(0).getCellByPosition(1, 0)
            print(f"{document.Sheets.Count} sheets; B1 of the first: {first.getFormula()}")
            times = []
            for _ in range(args.runs):
                start = time.perf_counter()
                document.calculateAll()
                times.append((time.perf_counter() - start) * 1000)
            document.close(True)
            try:
                desktop.terminate()
            except Exception:  # the bridge goes down with LibreOffice
                pass
        finally:
            try:
                office.wait(timeout=30)
            except subprocess.TimeoutExpired:
                office.kill()
    print("calculateAll ms:", " ".join(f"{t:.1f}" for t in times))
    print(f"median {statistics.median(times):.1f} ms over {len(times)} runs of "
          f"{os.path.basename(args.workbook)}")


if __name__ == "__main__":
    main()
