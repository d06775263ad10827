#!/usr/bin/env python3
"""The sync server of the real program under Wine, as peers on the network
find it: it listens without its announcement, peers that send nothing hold
up no handheld, and a computer without the SQLite library ends each session
at once and goes on serving.

    wifi_server.py --bin <folder of "Zorvikan Desktop.exe"> --wine <runner>
"""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wifi_handheld as wh  # noqa: E402

# Silent connections held open while a real handheld syncs.
SILENT_PEERS = 50


class Program:
    """The program on a scratch data root, with the sync mode stored."""

    def __init__(self, args, work, name, mode=2, env=None, folder=None):
        self.root = os.path.join(work, name)
        os.makedirs(os.path.join(self.root, 'Preferences'))
        with open(os.path.join(self.root, 'Preferences', 'Preferences.ini'), 'w') as f:
            f.write('[Preferences iPhone]\r\nVirgin Sync=1\r\nSync Direction=%d\r\n' % mode)
        self.port = wh.free_port()
        full = dict(os.environ, ZV_DATA_ROOT=wh.windows_path(self.root), ZV_SYNC_PORT=str(self.port),
                    ZV_MDNS_TARGET='127.0.0.1:%d' % wh.free_port())
        full.update(env or {})
        self.database = os.path.join(self.root, wh.USER_ID, 'ZorvikanDatabase.zdb')
        self.process = subprocess.Popen([args.wine, os.path.join(folder or args.bin, 'Zorvikan Desktop.exe')],
                                        env=full, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 60
        while not os.path.exists(self.database) and time.time() < deadline:
            time.sleep(0.2)

    def stop(self):
        self.process.kill()
        self.process.wait()


def unannounced(args, work):
    """No network to announce on: the server listens all the same, and the
    failed announcement is in the event log."""
    failures = []
    # Sending to the broadcast address without asking for it fails, as it
    # does on a machine without a usable interface.
    program = Program(args, work, 'unannounced', env={'ZV_MDNS_TARGET': '255.255.255.255:5353'})
    try:
        wh.successful_session(program.port, 2, wh.handheld_database(work, 'unannounced.db'))
        log = os.path.join(program.root, 'Preferences', 'EventsLog.xml')
        with open(log, encoding='utf-16') as f:
            if 'Service not announced' not in f.read():
                failures.append('unannounced: the failed announcement is not in the event log')
    except (wh.Failure, OSError) as e:
        failures.append('unannounced: %s' % e)
    finally:
        program.stop()
    return failures


def silent_peers(args, work):
    """With many connections that send nothing held open, a real handheld
    syncs at once, the silent ones are dropped within seconds, and two real
    handhelds at the same time both sync, one after the other."""
    failures = []
    # The program's own receive time-out (30 s): the silent peers must be
    # dropped sooner than that.
    program = Program(args, work, 'silent')
    silent = []
    try:
        good = wh.handheld_database(work, 'silent.db')
        # The first real session: the program is up and serving.
        wh.successful_session(program.port, 2, good)
        opened = time.time()
        for _ in range(SILENT_PEERS):
            silent.append(socket.create_connection(('127.0.0.1', program.port), timeout=5))
        start = time.time()
        wh.successful_session(program.port, 2, good)
        took = time.time() - start
        if took > 5:
            failures.append('silent peers: the real session took %.1f s behind %d silent ones' % (took, SILENT_PEERS))
        for s in silent:
            s.settimeout(max(0.1, opened + 12 - time.time()))
            try:
                while s.recv(4096):
                    pass
            except socket.timeout:
                failures.append('silent peers: a silent connection was still open after 12 s')
                break
            except OSError:
                pass
        errors = []

        def play():
            try:
                wh.successful_session(program.port, 2, good)
            except (wh.Failure, OSError) as e:
                errors.append(str(e))

        both = [threading.Thread(target=play) for _ in range(2)]
        for t in both:
            t.start()
        for t in both:
            t.join()
        failures += ['silent peers, two handhelds at once: %s' % e for e in errors]
    except (wh.Failure, OSError) as e:
        failures.append('silent peers: %s' % e)
    finally:
        for s in silent:
            s.close()
        program.stop()
    return failures


def without_sqlite(args, work):
    """The program where "sqlite3.dll" cannot be found: each session ends at
    once as unreadable ("00000007"), and the next is served."""
    failures = []
    folder = os.path.join(work, 'nosqlite-bin')
    os.makedirs(folder)
    for name in os.listdir(args.bin):
        if name == 'Zorvikan Desktop.exe' or (name.lower().endswith('.dll') and name.lower() != 'sqlite3.dll'):
            shutil.copy(os.path.join(args.bin, name), folder)
    program = Program(args, work, 'nosqlite', folder=folder)
    try:
        good = wh.handheld_database(work, 'nosqlite.db')
        for attempt in (1, 2):
            h = wh.Handheld(program.port)
            try:
                wh.phase_one(h, good)
                h.s.settimeout(5)
                h.failed_with('00000007')
            except (wh.Failure, OSError) as e:
                failures.append('without sqlite3.dll, session %d: %s' % (attempt, e))
            finally:
                h.close()
    finally:
        program.stop()
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--bin', required=True)
    parser.add_argument('--wine', required=True)
    parser.add_argument('--only', default='')
    args = parser.parse_args()
    failures = []
    cases = [unannounced, silent_peers, without_sqlite]
    with tempfile.TemporaryDirectory(prefix='zvserver-') as work:
        for case in cases:
            if not args.only or case.__name__ in args.only.split(','):
                failures += case(args, work)
    for failure in failures:
        print('FAILED: ' + failure)
    print('%d failure(s)' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
