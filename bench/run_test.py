"""The parts of bench/run that decide its numbers: reading /proc and perf, and judging goals."""

import os
import subprocess
import sys
import unittest

from figures import (Snapshot, at_most, autolaunched_bus_running, cpu_seconds, cpu_ticks,
                     more_by_at_most, perf_count, ratio_at_most, rollup_fields, snapshot,
                     socket_bound, status_fields, switches_between, verdict)

STAT_TAIL = " S 1 1 1 0 -1 4194560 100 0 0 0 250 75 0 0 20 0 3 0 5 1000 200 0 0"


class ProcReadingTest(unittest.TestCase):
    def test_cpu_ticks_read_after_the_last_parenthesis(self):
        cases = {
            "42 (conky)" + STAT_TAIL: 325,
            "42 (Web Content)" + STAT_TAIL: 325,
            "42 (a) b (c))" + STAT_TAIL: 325,  # a name may hold ") " itself
        }
        for text, ticks in cases.items():
            self.assertEqual(cpu_ticks(text), ticks, text)

    def test_status_fields_keeps_kilobytes_and_switch_counts(self):
        text = ("Name:\tbtop\nVmHWM:\t   5940 kB\nVmRSS:\t   5812 kB\nThreads:\t3\n"
                "voluntary_ctxt_switches:\t120\nnonvoluntary_ctxt_switches:\t7\n")
        self.assertEqual(status_fields(text), {"VmHWM": 5940, "VmRSS": 5812,
                                               "voluntary_ctxt_switches": 120,
                                               "nonvoluntary_ctxt_switches": 7})

    def test_rollup_fields_in_bytes(self):
        text = ("55d0-7ffd ---p 00000000 00:00 0   [rollup]\nRss:   37664 kB\n"
                "Pss_Anon:  4636 kB\nAnonymous:  4636 kB\nAnonHugePages:  0 kB\n")
        self.assertEqual(rollup_fields(text), {"Rss": 37664 * 1024, "Anonymous": 4636 * 1024})
        self.assertEqual(rollup_fields(""), {})

    def test_perf_counts(self):
        event = "raw_syscalls:sys_enter"
        cases = [
            ("2797,,raw_syscalls:sys_enter,28060520,100.00,,\n", 2797),
            ("# started on Mon\n\n876,,raw_syscalls:sys_enter,1,100.00,,\n", 876),
            ("<not counted>,,raw_syscalls:sys_enter,0,0.00,,\n", 0),  # slept all window
            ("<not supported>,,raw_syscalls:sys_enter,0,100.00,,\n", None),
            ("12,,context-switches,1,100.00,,\n", None),
            ("", None),
        ]
        for text, count in cases:
            self.assertEqual(perf_count(text, event), count, text)

    def test_socket_bound_matches_the_whole_path(self):
        header = "Num       RefCount Protocol Flags    Type St Inode Path\n"
        line = "00000000cb26f512: 00000002 00000000 00010000 0001 01 {inode} {path}\n"
        cases = [
            (line.format(inode=9, path="/run/user/1000/glintdeck-:0"), True),
            (line.format(inode=9, path="/run/user/1000/glintdeck-:01"), False),  # another display
            (line.format(inode=9, path="@/run/user/1000/glintdeck-:0"), False),  # abstract
            (line.format(inode=9, path="").rstrip() + "\n", False),  # unnamed
            ("", False),
        ]
        for text, bound in cases:
            self.assertEqual(socket_bound(header + text, "/run/user/1000/glintdeck-:0"), bound,
                             text)

    def test_processes_whose_names_are_not_utf8_are_read(self):
        # Runs until its standard input closes, named as given, in the given environment.
        def process(name, environment):
            program = ("import ctypes, sys; ctypes.CDLL(None).prctl(15, sys.argv[1].encode("
                       "errors='surrogateescape'), 0, 0, 0); print(flush=True); sys.stdin.read()")
            child = subprocess.Popen(
                [sys.executable, "-c", program, name], stdin=subprocess.PIPE,
                stdout=subprocess.PIPE, env=dict(os.environ, **environment))
            child.stdout.readline()  # named now
            return child

        marker = f"/nonexistent/glintdeck-bench-{os.getpid()}"
        children = [process(b"\xff\xfe bad".decode(errors="surrogateescape"), {}),
                    process("dbus-launch", {"XDG_RUNTIME_DIR": marker})]
        try:
            self.assertIsNotNone(snapshot(children[0].pid))
            self.assertTrue(autolaunched_bus_running(f"XDG_RUNTIME_DIR={marker}".encode()))
            self.assertFalse(autolaunched_bus_running(b"XDG_RUNTIME_DIR=/elsewhere"))
        finally:
            for child in children:
                child.stdin.close()
                child.wait()
                child.stdout.close()


class ThreadAccountingTest(unittest.TestCase):
    def test_cpu_prefers_nanoseconds_unless_the_ticks_show_more(self):
        ms = 1_000_000
        start = Snapshot(ticks=100, thread_ns={"1": 50 * ms, "2": 10 * ms}, thread_switches={})
        cases = [
            # end snapshot, seconds: exact where every thread is accounted for
            (Snapshot(100, {"1": 53 * ms, "2": 11 * ms}, {}), 0.004),
            (Snapshot(101, {"1": 53 * ms, "2": 11 * ms, "3": 2 * ms}, {}), 0.006),  # born
            (Snapshot(103, {"1": 53 * ms}, {}), 0.03),  # thread 2 exited after working: ticks
            (Snapshot(100, {"1": 53 * ms}, {}), 0.003),  # thread 2 exited idle
            (Snapshot(150, {"1": 53 * ms, "2": 11 * ms}, {}), 0.5),  # one came and went
        ]
        for end, seconds in cases:
            self.assertAlmostEqual(cpu_seconds(start, end, 100), seconds, msg=end)

    def test_switches_count_threads_alive_at_the_end(self):
        start = Snapshot(0, {}, {"1": 100, "2": 40})
        end = Snapshot(0, {}, {"1": 111, "3": 5})
        self.assertEqual(switches_between(start, end), 16)


class VerdictTest(unittest.TestCase):
    def test_goals(self):
        sixth = ratio_at_most(1 / 6, "≤ 1/6")
        cases = [
            # goals, ours, peer, verdict
            ([sixth], 0.05, 0.33, "yes"),
            ([sixth], 0.06, 0.33, "NO"),
            ([sixth], 0.05, None, "—"),  # peer missing: no verdict, never a pass
            ([sixth], None, 0.33, "—"),
            ([sixth], 0.0, 0.0, "yes"),  # an idle peer still bounds an idle subject
            ([sixth], 0.01, 0.0, "NO"),
            ([at_most(40e6)], 39e6, None, "yes"),  # absolute goals need no peer
            ([at_most(10), ratio_at_most(2, "≤ 2×")], 9.0, 4.0, "NO"),  # both must hold
            ([at_most(10), ratio_at_most(2, "≤ 2×")], 7.0, 4.0, "yes"),
            ([more_by_at_most(1e6, "+1 MB")], 33.5e6, 32.6e6, "yes"),  # what a feature adds
            ([more_by_at_most(1e6, "+1 MB")], 33.7e6, 32.6e6, "NO"),
            ([more_by_at_most(1e6, "+1 MB")], 33.5e6, None, "—"),
            ([], 1.0, 2.0, "—"),  # a reference row judges nothing
        ]
        for goals, ours, peer, expected in cases:
            self.assertEqual(verdict(goals, ours, peer), expected, (ours, peer))


if __name__ == "__main__":
    unittest.main()
