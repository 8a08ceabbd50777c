#!/usr/bin/env python3
"""Measures the window: start-up time to the first exposed window, and idle CPU load.

    tools/measure_window.py BUILD_BIN_DIR

Run it under a display (xvfb-run) or with QT_QPA_PLATFORM=offscreen.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def startup_ms(bin_dir, runs=10):
    times = []
    for _ in range(runs):
        start = time.time_ns()
        out = subprocess.run([os.path.join(bin_dir, "startup_timing")], capture_output=True,
                             text=True, check=True).stdout
        times.append((int(out.strip()) - start) / 1e6)
    return times


def idle_cpu_percent(bin_dir, seconds=10):
    tick = os.sysconf("SC_CLK_TCK")
    with tempfile.TemporaryDirectory() as runtime:
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        proc = subprocess.Popen([os.path.join(bin_dir, "verdalon")], env=env)
        try:
            time.sleep(3)  # past start-up
            def cpu():
                fields = open(f"/proc/{proc.pid}/stat").read().rsplit(")", 1)[1].split()
                return int(fields[11]) + int(fields[12])  # utime + stime
            before, t0 = cpu(), time.monotonic()
            time.sleep(seconds)
            after, t1 = cpu(), time.monotonic()
            return 100.0 * (after - before) / tick / (t1 - t0)
        finally:
            proc.kill()
            proc.wait()


def libreoffice_open_ms(bin_dir, runs=3):
    """LibreOffice headless opening the same workbook (and writing it as CSV): what reading
    the buyers through a separate spreadsheet application would cost at the least."""
    workbook = os.path.join(bin_dir, "锯材账单.xls")
    times = []
    with tempfile.TemporaryDirectory() as work:
        for _ in range(runs):
            start = time.monotonic()
            subprocess.run(["soffice", "--headless", f"-env:UserInstallation=file://{work}/profile",
                            "--convert-to", "csv", "--outdir", work, workbook],
                           capture_output=True, check=True)
            times.append((time.monotonic() - start) * 1000)
    return times


def main():
    bin_dir = sys.argv[1] if len(sys.argv) > 1 else "build/release/bin"
    times = startup_ms(bin_dir)
    print(f"start-up to window exposed (buyers loaded): median {statistics.median(times):.1f} ms, "
          f"min {min(times):.1f} ms, max {max(times):.1f} ms over {len(times)} runs")
    if shutil.which("soffice"):
        office = statistics.median(libreoffice_open_ms(bin_dir))
        print(f"LibreOffice headless opening the same workbook: median {office:.0f} ms, "
              f"{office / statistics.median(times):.0f} times as long")
    print(f"idle CPU over 10 s with both timers running: {idle_cpu_percent(bin_dir):.2f} % of one core")


if __name__ == "__main__":
    main()
