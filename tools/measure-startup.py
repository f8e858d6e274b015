#!/usr/bin/env python3
"""Start-up measurement of the program against two baselines, in one run.

    tools/measure-startup.py [--rounds N] [--tabs] [--gate MILLIONS]
                             [--enter-gate MILLIONS] BUILD_DIR

BUILD_DIR holds the built program (velkaro) and empty-window (the target
empty-window of the same build, from tools/empty-window). Every run is a first
start in a fresh folder, under its own Xvfb display and its own session bus.
Reported:

  * instructions from exec to the first frame (callgrind; exact), for the empty
    window, the one-label window, the program's default start and, with --tabs,
    a start on each tab;
  * instructions in the three seconds after the first frame;
  * instructions from Enter in the first field of the start page ("10" typed)
    to the end of the window's repaint;
  * resident memory at the first frame;
  * wall-clock time to the first frame as the ratio to the label window,
    paired round by round (median over --rounds rounds, order alternating);
    --rounds 0 leaves out memory and wall clock.

With --gate M the run fails when the program's default start needs more than
M million instructions above the one-label window of the same run; machines
differ in their floor (fontconfig, libraries), the difference does not. With
--enter-gate M it fails when the Enter needs more than M million.
"""
import argparse, os, re, shutil, signal, statistics, subprocess, sys, tempfile, time

PAGES = ["dB", "dBm", "dBµV", "XL / XC", "LC-Schwingkreis", "RC-Glieder", "PI / T Att",
         "Parallel-/Serienschaltung", "L- Anpassnetzwerk", "Pi - Anpassnetzwerk",
         "T - Anpassnetzwerk"]


def start_display():
    for n in range(90, 130):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            break
    disp = f":{n}"
    xvfb = subprocess.Popen(["Xvfb", disp, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(f"/tmp/.X11-unix/X{n}"):
            break
        time.sleep(0.05)
    time.sleep(0.3)
    return disp, xvfb


def german_locale():
    """de_DE.UTF-8 where it is generated, else the C locale with UTF-8."""
    names = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    return "de_DE.UTF-8" if any(n.lower() in ("de_de.utf8", "de_de.utf-8") for n in names) else "C.UTF-8"


def start_bus():
    out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                         capture_output=True, text=True, check=True).stdout.split()
    return out[0], int(out[1])


class Program:
    def __init__(self, name, exe, args=(), page=None):
        self.name, self.args, self.page = name, list(args), page
        self.dir = tempfile.mkdtemp(prefix="startup-")
        self.exe = os.path.join(self.dir, os.path.basename(exe))
        shutil.copy(exe, self.exe)
        for qch in [os.path.join(os.path.dirname(exe), "kl_VKOV30_Help.qch")]:
            if os.path.exists(qch):
                shutil.copy(qch, self.dir)

    def prepare(self):
        ini = os.path.join(self.dir, "velkaro.INI")
        if os.path.exists(ini):
            os.remove(ini)
        if self.page is not None:
            with open(ini, "wb") as f:
                f.write(b"[Register]\r\nKarte=%d\r\n" % self.page)

    def command(self):
        return [self.exe] + self.args


def callgrind(prog, env, mode):
    prog.prepare()
    out = os.path.join(prog.dir, "callgrind.out")
    # Enter: only the measured call, from the key press to the repaint.
    only = ["--collect-atstart=no", "--toggle-collect=velkaro::measuredEnter*"] if mode == "enter" else []
    r = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}"] + only + prog.command(),
                       env=dict(env, VELKARO_FIRST_FRAME=mode), cwd=prog.dir,
                       capture_output=True, text=True, timeout=600)
    m = re.search(r"Collected : (\d+)", r.stderr)
    if not m:
        sys.exit(f"{prog.name}: no callgrind total\n{r.stderr[-2000:]}")
    return int(m.group(1))


def wall_and_rss(prog, env):
    prog.prepare()
    t0 = time.perf_counter()
    p = subprocess.Popen(prog.command(), env=dict(env, VELKARO_FIRST_FRAME="exit"), cwd=prog.dir,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = p.stdout.readline()
    t = time.perf_counter() - t0
    p.wait(timeout=30)
    m = re.search(r"(\d+) kB resident", line)
    return t, int(m.group(1)) if m else -1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--rounds", type=int, default=15)
    ap.add_argument("--tabs", action="store_true")
    ap.add_argument("--gate", type=float)
    ap.add_argument("--enter-gate", type=float)
    a = ap.parse_args()
    velkaro = os.path.join(a.build, "velkaro")
    empty = os.path.join(a.build, "empty-window")
    for f in (velkaro, empty):
        if not os.path.exists(f):
            sys.exit(f"missing {f}")

    disp, xvfb = start_display()
    bus, bus_pid = start_bus()
    env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_CURRENT", "KDE_"))}
    env.update(DISPLAY=disp, QT_QPA_PLATFORM="xcb", DBUS_SESSION_BUS_ADDRESS=bus,
               LC_ALL=os.environ.get("LC_ALL", german_locale()))
    try:
        base = [Program("empty window", empty), Program("one-label window", empty, ["--label"])]
        default = Program("velkaro (first start)", velkaro)
        progs = base + [default]
        if a.tabs:
            progs += [Program(f"velkaro on {p}", velkaro, page=i) for i, p in enumerate(PAGES)]

        rows = []
        for p in progs:
            first = callgrind(p, env, "exit")
            after = callgrind(p, env, "settle") - first if p in base or p is default else None
            rows.append((p, first, after))

        enter = callgrind(default, env, "enter")

        walls = {p.name: [] for p in base + [default]}
        rss = {p.name: [] for p in base + [default]}
        for r in range(a.rounds):
            order = base + [default]
            if r % 2:
                order = order[::-1]
            for p in order:
                t, kb = wall_and_rss(p, env)
                walls[p.name].append(t)
                rss[p.name].append(kb)
        label = base[1].name

        print(f"locale {env['LC_ALL']}")
        print(f"{'':38} {'to first frame':>15} {'after it':>10} {'RSS at frame':>13}")
        for p, first, after in rows:
            mem = f"{statistics.median(rss[p.name]) / 1024:.1f} MB" if rss.get(p.name) else ""
            aft = f"{after / 1e6:.1f} M" if after is not None else ""
            print(f"{p.name:38} {first / 1e6:13.1f} M {aft:>10} {mem:>13}")
        print(f"Enter in the start page's first field to the end of its repaint: {enter / 1e6:.2f} M")
        if a.rounds > 0:
            ratio = statistics.median(w / l for w, l in zip(walls[default.name], walls[label]))
            print(f"wall clock to the first frame, program / one-label window: {ratio:.3f} "
                  f"(median of {a.rounds} paired rounds; label window "
                  f"{statistics.median(walls[label]) * 1000:.0f} ms)")
        extra = (rows[2][1] - rows[1][1]) / 1e6
        print(f"program above the one-label window: {extra:.1f} M instructions")
        failed = False
        if a.gate is not None and extra > a.gate:
            print(f"FAIL: more than {a.gate:g} M instructions above the one-label window")
            failed = True
        if a.enter_gate is not None and enter / 1e6 > a.enter_gate:
            print(f"FAIL: Enter needs more than {a.enter_gate:g} M instructions")
            failed = True
        if failed:
            return 1
        return 0
    finally:
        os.kill(bus_pid, signal.SIGTERM)
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    sys.exit(main())
