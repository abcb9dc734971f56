"""Figures of KXWizard.exe under Wine and Xvfb (a harness that prints, not a test).

    cmake --build build/windows --target e2e_bench

For each of RUNS runs with a simulated unit on COM1, and then the median:
  start -> welcome painted   process start until the welcome picture is on the screen
  NEXT -> unit page          click on NEXT until the button reads "Query"
  Query -> "X" at the unit   click on Query until kxsim has received the "X"
  peak memory                the process's peak resident set (VmHWM)
  idle CPU                   CPU time of the process on the idle unit page over 10 s
"""
import os
import statistics
import time

from harness import (ENV, IDC_NEXT, VK_ESCAPE, Display, Kxsim, Session, wait_until)

RUNS = int(ENV.get("KX_BENCH_RUNS", "5"))
IDLE_SECONDS = 10
# A pixel of the welcome picture's grey area, in client coordinates.
WELCOME_PROBE = (400, 360)
WELCOME_GREY = (50, 49, 48)


def proc_status(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def one_run(display, index):
    sim = Kxsim(f"bench{index}")
    session = Session(display, {1: sim.device})
    try:
        session.find()
        x, y = WELCOME_PROBE

        def welcome_painted():
            cx, cy, _, _ = session.client()
            rgb = tuple(int(v) for v in session.ask(f"pixel {cx + x} {cy + y}").split())
            return rgb == WELCOME_GREY

        assert wait_until(welcome_painted, 20, step=0.005), "welcome page not painted"
        painted = time.monotonic() - session.started

        t0 = time.monotonic()
        session.click(IDC_NEXT)
        assert wait_until(lambda: session.text(IDC_NEXT) == "Query", 10, step=0.005)
        unit_page = time.monotonic() - t0

        t0 = time.monotonic()
        session.click(IDC_NEXT)
        assert wait_until(lambda: b"X" in sim.received(), 5, step=0.002)
        query = time.monotonic() - t0

        time.sleep(6)  # let the capture window close: the page is idle from here
        pid = session.program.pid
        before = cpu_seconds(pid)
        time.sleep(IDLE_SECONDS)
        idle_cpu = (cpu_seconds(pid) - before) / IDLE_SECONDS
        peak_kib = proc_status(pid, "VmHWM")

        session.ask(f"key {VK_ESCAPE}")
        session.wait_exit()
        return painted, unit_page, query, peak_kib, idle_cpu
    finally:
        session.close()
        sim.close()


def main():
    display = Display()
    try:
        runs = [one_run(display, i) for i in range(RUNS)]
    finally:
        display.close()
    names = ["start -> welcome painted (s)", "NEXT -> unit page (s)",
             'Query -> "X" at the unit (s)', "peak memory (MiB)", "idle CPU (% of a core)"]
    scale = [1, 1, 1, 1 / 1024, 100]
    print(f"KXWizard.exe under Wine, {RUNS} runs: median [min .. max]")
    for i, name in enumerate(names):
        values = [run[i] * scale[i] for run in runs]
        print(f"  {name:32} {statistics.median(values):8.3f}   "
              f"[{min(values):.3f} .. {max(values):.3f}]")


if __name__ == "__main__":
    main()
