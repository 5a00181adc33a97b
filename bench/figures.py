"""What bench/run measures of one process, and how a figure is judged against its goal."""

import os
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

MIB = 1024 * 1024


# ---- parsing --------------------------------------------------------------------------------


def cpu_ticks(stat_text):
    """utime + stime from /proc/PID/stat, read after the last ')' since names may hold both
    spaces and parentheses."""
    fields = stat_text[stat_text.rindex(")") + 2 :].split()
    return int(fields[11]) + int(fields[12])


def status_fields(status_text):
    """The numeric fields of /proc/PID/status that matter here, in their own units (kB for
    memory)."""
    wanted = ("VmRSS", "VmHWM", "voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")
    found = {}
    for line in status_text.splitlines():
        key, _, value = line.partition(":")
        if key in wanted:
            found[key] = int(value.split()[0])
    return found


def rollup_fields(rollup_text):
    """Resident memory now from /proc/PID/smaps_rollup, in bytes: all of it (Rss) and the part
    no file backs (Anonymous: heap, stacks), which only this process can give back."""
    found = {}
    for line in rollup_text.splitlines():
        key, _, value = line.partition(":")
        if key in ("Rss", "Anonymous"):
            found[key] = int(value.split()[0]) * 1024
    return found


def perf_count(csv_text, event):
    """The count of one event from `perf stat -x,` output. A counter that never ran (the
    process slept through the window) counts 0; an unsupported one is unknown."""
    for line in csv_text.splitlines():
        parts = line.split(",")
        if len(parts) > 2 and parts[2] == event:
            if parts[0] == "<not counted>":
                return 0
            try:
                return int(float(parts[0]))
            except ValueError:
                return None
    return None


def socket_bound(net_unix_text, path):
    """Whether /proc/net/unix lists a socket bound to path (the path column last on each
    line)."""
    return any(line.split()[-1] == path for line in net_unix_text.splitlines()[1:]
               if len(line.split()) > 7)


# ---- verdicts -------------------------------------------------------------------------------


@dataclass
class Goal:
    """A bound on our figure: absolute (ours <= limit), relative (ours / peer <= limit) or
    added (ours - peer <= limit)."""

    text: str
    limit: float
    relative: bool
    added: bool = False

    def met(self, ours, peer):
        if ours is None:
            return None
        if not self.relative and not self.added:
            return ours <= self.limit
        if peer is None:
            return None
        if self.added:
            return ours - peer <= self.limit
        if peer <= 0:
            return ours <= 0
        return ours / peer <= self.limit


def at_most(limit, text=None):
    return Goal(text or f"≤ {limit:g}", limit, relative=False)


def ratio_at_most(limit, text):
    return Goal(text, limit, relative=True)


def more_by_at_most(limit, text):
    return Goal(text, limit, relative=False, added=True)


def verdict(goals, ours, peer):
    """'yes' when every goal holds, 'NO' when one fails, '—' when there are none or a figure is
    missing."""
    results = [goal.met(ours, peer) for goal in goals]
    if not results or None in results:
        return "—"
    return "yes" if all(results) else "NO"


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


# ---- processes ------------------------------------------------------------------------------


def log(message):
    print(f"bench: {message}", file=sys.stderr, flush=True)


def read_text(path):
    """The file's text, or None when it cannot be read. Read as bytes: what /proc shows of a
    process (its name in stat and status, socket paths) need not be UTF-8; such bytes are kept
    as lone surrogates rather than stopping the run."""
    try:
        return Path(path).read_bytes().decode(errors="surrogateescape")
    except OSError:
        return None


def autolaunched_bus_running(environment_entry):
    """Whether a dbus-launch whose environment holds environment_entry (bytes) runs: it
    outlives the program that started it."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if (Path(f"/proc/{pid}/comm").read_bytes().strip() == b"dbus-launch" and
                    environment_entry in Path(f"/proc/{pid}/environ").read_bytes().split(b"\0")):
                return True
        except OSError:
            pass  # gone, or another user's
    return False


@dataclass
class Snapshot:
    """One reading of a process: its clock-tick CPU total (every thread, exited ones too) and,
    per live thread, nanoseconds on a CPU and context switches."""

    ticks: int
    thread_ns: dict
    thread_switches: dict


def snapshot(pid):
    stat = read_text(f"/proc/{pid}/stat")
    if stat is None:
        return None
    thread_ns, thread_switches = {}, {}
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return None
    for task in tasks:
        schedstat = read_text(f"/proc/{pid}/task/{task}/schedstat")
        status = read_text(f"/proc/{pid}/task/{task}/status")
        if schedstat is None or status is None:
            continue  # exited between the listing and the read
        thread_ns[task] = int(schedstat.split()[0])
        fields = status_fields(status)
        thread_switches[task] = (fields.get("voluntary_ctxt_switches", 0)
                                 + fields.get("nonvoluntary_ctxt_switches", 0))
    return Snapshot(cpu_ticks(stat), thread_ns, thread_switches)


def cpu_seconds(start, end, ticks_per_second):
    """CPU time between two snapshots. Per-thread nanoseconds are exact but lose a thread that
    exits; clock ticks keep every thread but only to 10 ms, too coarse for a process that uses
    a few milliseconds a second. So: the nanoseconds of the threads alive at the end, unless the
    ticks show more than they can explain (a thread that exited after working, or came and went
    within the window). A pool thread that idles out (Qt's expire after 30 s) leaves the exact
    figure standing."""
    ticks = (end.ticks - start.ticks) / ticks_per_second
    exact = sum(end.thread_ns[t] - start.thread_ns.get(t, 0) for t in end.thread_ns) / 1e9
    return ticks if ticks > exact + 2 / ticks_per_second else exact


def switches_between(start, end):
    """Context switches of the threads alive at the end; one that exited takes its count
    along."""
    return sum(count - start.thread_switches.get(t, 0) for t, count in end.thread_switches.items())


def process_count():
    return sum(1 for name in os.listdir("/proc") if name.isdigit())


class Measurement:
    """CPU, memory, system calls and wakeups of one process over one window."""

    def __init__(self, pid, seconds, count_syscalls):
        self.pid = pid
        self.seconds = seconds
        self.count_syscalls = count_syscalls

    def run(self):
        pid = self.pid
        perf = None
        if self.count_syscalls:
            descriptor, output = tempfile.mkstemp(suffix=".perf")
            os.close(descriptor)
            perf = subprocess.Popen(
                ["perf", "stat", "-x,", "-o", output, "-e", "raw_syscalls:sys_enter",
                 "-p", str(pid), "--", "sleep", str(self.seconds)],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        first = snapshot(pid)
        start = time.monotonic()
        resident = []
        deadline = start + self.seconds
        while first is not None and time.monotonic() < deadline:
            status = read_text(f"/proc/{pid}/status")
            if status is None:
                break
            resident.append(status_fields(status).get("VmRSS", 0) * 1024)
            time.sleep(min(0.5, max(0.0, deadline - time.monotonic())))
        last, status = snapshot(pid), read_text(f"/proc/{pid}/status")
        rollup = rollup_fields(read_text(f"/proc/{pid}/smaps_rollup") or "")
        elapsed = time.monotonic() - start
        syscalls = None
        if perf is not None:
            perf.wait()
            syscalls = perf_count(read_text(output) or "", "raw_syscalls:sys_enter")
            os.unlink(output)
        if first is None or last is None or status is None:
            return None  # the process ended early: no figure rather than a wrong one
        # Scaled to the nominal window so runs of slightly different length compare.
        result = {
            "cpu_seconds": cpu_seconds(first, last, os.sysconf("SC_CLK_TCK"))
            * self.seconds / elapsed,
            "peak_resident": status_fields(status).get("VmHWM", 0) * 1024,
            "resident": rollup.get("Rss"),
            "resident_anonymous": rollup.get("Anonymous"),
            "resident_growth": resident[-1] - resident[0] if resident else 0,
            "wakeups_per_second": switches_between(first, last) / elapsed,
            "syscalls_per_second": None if syscalls is None else syscalls / self.seconds,
        }
        return result
