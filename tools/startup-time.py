#!/usr/bin/env python3
# Time from spawning a program to the map of its top-level window under Xvfb,
# and its resident memory once shown, as medians over N runs.
#   cmake -S tools/empty-window -B /tmp/ew && cmake --build /tmp/ew
#   tools/startup-time.py 21 /tmp/ew/empty-window "/tmp/ew/empty-window --label" build-release/velkaro
# Needs Xvfb, xdpyinfo and xev (Debian: xvfb x11-utils). A settings file beside
# a program is removed before each run, so every run is a first start.
import os, subprocess, sys, time, select
n = int(sys.argv[1]); progs = sys.argv[2:]
disp = ":95"
xvfb = subprocess.Popen(["Xvfb", disp, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
env = dict(os.environ, DISPLAY=disp, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
for _ in range(100):
    if subprocess.call(["xdpyinfo"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) == 0: break
    time.sleep(0.1)
xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"], env=env, stdout=subprocess.PIPE)
fd = xev.stdout.fileno()
time.sleep(0.5)
def drain():
    while select.select([fd], [], [], 0.05)[0]:
        os.read(fd, 65536)
def once(prog):
    drain()
    for f in [os.path.splitext(prog.split()[0])[0] + ".INI"]:
        if os.path.exists(f): os.remove(f)
    t0 = time.perf_counter()
    cmd = prog.split()
    p = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=os.path.dirname(cmd[0]) or ".")
    t = None
    deadline = t0 + 10
    while t is None and time.perf_counter() < deadline:
        if select.select([fd], [], [], 0.5)[0]:
            chunk = os.read(fd, 65536)
            if b"MapNotify" in chunk:
                t = time.perf_counter() - t0
    time.sleep(0.4)
    rss = int(open(f"/proc/{p.pid}/status").read().split("VmRSS:")[1].split()[0])
    p.kill(); p.wait()
    return t, rss
res = {pr: [] for pr in progs}
for i in range(n):
    for pr in progs:
        res[pr].append(once(pr))
for pr, v in res.items():
    ts = sorted(x[0] for x in v if x[0] is not None); rs = sorted(x[1] for x in v)
    print(f"{pr}: map median {ts[len(ts)//2]*1000:.1f} ms (min {ts[0]*1000:.1f}, n={len(ts)}), RSS median {rs[len(rs)//2]/1024:.1f} MB")
xev.kill(); xvfb.kill()
