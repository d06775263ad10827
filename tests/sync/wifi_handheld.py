#!/usr/bin/env python3
"""The test handheld: plays the handheld's side of the Wi-Fi sync against the
real desktop program, run under Wine on a scratch data root.

For each sync mode the program is started with that mode stored, and a row of
sessions runs against it: one that succeeds, then sessions that misbehave
(tokens it does not know or that are too long, stalls, huge sizes, unsafe
names, a garbage database, a wrong crib and password, disconnects in the
middle of a file, a cancel). Each must end within its time-out with the right
closing words, write nothing outside the session's own folder, leave the
desktop database as it was, and the next session must succeed.

Handheld users the desktop does not have yet are created only by a session
that completes. With --wizard the program makes its first start, and the
setup wizard is worked through such sessions (window_driver.exe does the
clicking).

    wifi_handheld.py [--wizard] --bin <folder of "Zorvikan Desktop.exe"> --wine <runner>
"""
import argparse
import hashlib
import os
import random
import socket
import sqlite3
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, '..', 'fixtures', 'handheld')

# The fixture generator reads its output folder from the command line.
_argv, sys.argv = sys.argv, [sys.argv[0]]
sys.path.insert(0, FIXTURES)
import make_fixtures  # noqa: E402
sys.argv = _argv

USER_ID = '_Standalone_'
USER_NAME = 'Standalone'
# The desktop gives up on a silent handheld after this long.
RECEIVE_MS = 1500
# How long the handheld waits for the desktop's next words.
WAIT_S = 20.0


class Failure(Exception):
    pass


def handheld_database(folder, name='hh.db', crib=None, password=None, user_id=USER_ID, user_name=USER_NAME,
                      cipher=None, records=None):
    """The handheld's database file as bytes: the fixture's lists for the
    desktop's stand-alone user, or for the user given."""
    make_fixtures.HERE = folder
    db = make_fixtures.create(name)
    make_fixtures.fill(db, cipher, password, user=user_name, **({'records': records} if records else {}))
    db.execute('UPDATE DATABASEINFOTABLE SET PASSWORDCRIB = ?, USERID = ?', (crib, user_id))
    db.commit()
    db.close()
    with open(os.path.join(folder, name), 'rb') as f:
        return f.read()


# The text a desktop database's first 40 bytes hold encrypted under its
# password (zero bytes without one).
VERIFIER_PLAINTEXT = b'Zorvikan Desktop master password check.\0'


def protected_database(folder, name, user_id, user_name, password, records=None):
    """A handheld database under a password: the crib is the desktop's
    verifier of that password, the fields are ciphered with it."""
    crib = make_fixtures.Blowfish(password.encode('latin-1')).ecb(VERIFIER_PLAINTEXT)
    column = make_fixtures.field_blob(make_fixtures.Blowfish(make_fixtures.PASSWORD_COLUMN_KEY), password)
    return handheld_database(folder, name, crib=crib, password=column, user_id=user_id, user_name=user_name,
                             cipher=make_fixtures.Blowfish(password.encode('latin-1')), records=records), crib


class Handheld:
    def __init__(self, port):
        deadline = time.time() + 60
        while True:
            try:
                self.s = socket.create_connection(('127.0.0.1', port), timeout=2)
                break
            except OSError:
                if time.time() > deadline:
                    raise Failure('the desktop does not listen on port %d' % port)
                time.sleep(0.3)
        self.s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.s.settimeout(WAIT_S)
        self.received = {}

    def close(self):
        self.s.close()

    def say(self, data):
        if isinstance(data, str):
            data = data.encode('latin-1')
        self.s.sendall(data)

    def read(self, count):
        data = b''
        while len(data) < count:
            try:
                part = self.s.recv(count - len(data))
            except socket.timeout:
                raise Failure('the desktop said nothing (after %r)' % data)
            if not part:
                raise Failure('the desktop closed the connection (after %r)' % data)
            data += part
        return data

    def read_one(self):
        """What one receive brings: a name or a size the desktop sends."""
        part = self.s.recv(1024)
        if not part:
            raise Failure('the desktop closed the connection')
        return part

    def expect(self, text):
        got = self.read(len(text))
        if got != text.encode('latin-1'):
            raise Failure('expected %r, got %r' % (text, got))

    def expect_close(self, within=None):
        """The desktop ends the connection (within the time given)."""
        self.s.settimeout(within if within else WAIT_S)
        start = time.time()
        try:
            while True:
                part = self.s.recv(4096)
                if not part:
                    return time.time() - start
        except socket.timeout:
            raise Failure('the desktop did not close the connection')
        except ConnectionResetError:
            return time.time() - start

    # ---- Files from the handheld.

    def send_file(self, name, data, split=False):
        self.say('FileSend')
        self.expect('OK')
        self.say(name)
        self.expect('OK')
        size = str(len(data))
        if split and len(size) > 1:
            # One message in two sends, back to back.
            self.say(size[:1])
            self.say(size[1:])
        else:
            self.say(size)
        self.expect('OK')
        for at in range(0, len(data), 4096):
            self.say(data[at:at + 4096])
            self.expect('OK')

    def batch(self, files, split=False):
        for name, data in files:
            self.send_file(name, data, split)
        self.say('EndOfFiles')
        self.expect('OK')

    # ---- Files from the desktop.

    def receive_one(self):
        self.say('OK')
        name = self.read_one().decode('latin-1')
        self.say('OK')
        size = int(self.read_one())
        self.say('OK')
        data = b''
        while len(data) < size:
            data += self.read(min(4096, size - len(data)))
            self.say('OK')
        self.received[name] = data

    def receive_folder(self):
        """Files until "EndOfFiles"; their names."""
        names = []
        while True:
            word = self.read(8)
            if word == b'FileSend':
                before = set(self.received)
                self.receive_one()
                names += sorted(set(self.received) - before)
                continue
            if word + self.read(2) != b'EndOfFiles':
                raise Failure('expected a file or "EndOfFiles", got %r' % word)
            self.say('OK')
            return names

    def end(self):
        self.expect('EndConnection')
        self.say('OK')
        self.expect_close()

    def failed_with(self, code):
        self.expect('SyncFailed')
        self.say('OK')
        self.expect(code)
        self.say('OK')
        self.end()


def phase_one(h, database, split=False):
    h.expect('SendiPhoneDatabase')
    h.say('OK')
    h.expect('OK')
    h.batch([('ZorvikanDataBase.db', database)], split)


def attachments_request(h, mode, files, split=False):
    if mode == 1:
        h.expect('SyncModeIphoneOverides')
        h.say('OK')
        h.expect('OK')
        h.batch(files, split)
    elif mode == 2:
        h.expect('SyncModeSynchronization')
        h.say('OK')
        h.expect('SendNewAndModifiedAttachments')
        h.batch(files, split)
        h.say('OK')


def successful_session(port, mode, database, split=False, hint=None):
    """A whole session that succeeds; the files the desktop sent. With a hint,
    the desktop asks for it at the end (its first start, mode 1)."""
    h = Handheld(port)
    try:
        phase_one(h, database, split)
        attachments_request(h, mode, [('3e9.zfa', b'attachment of 1001' * 300)], split)
        if mode == 0:
            h.expect('SyncModeDesktopOverides')
            h.say('OK')
            h.expect('SyncFinalize')
        elif mode == 1:
            h.expect('SyncFinalize')
            h.say('SyncSuccess')
        else:
            h.expect('SyncFinalize')
            h.say('OK')
            h.expect('OK')
        if mode != 1:
            h.say('SendDesktopDatabase')
            h.expect('OK')
            h.say('OK')
            h.receive_folder()
            h.receive_folder()
            h.expect('OK')
            h.say('SyncSuccess' if mode == 0 else 'SyncFinalize')
        if mode != 0:
            h.expect('SendiPhoneCustomIcons')
            h.batch([('1000.png', b'\x89PNG icon')], split)
        if mode != 1:
            h.say('SendDesktopCustomIcons')
            h.receive_folder()
        if hint is not None:
            h.expect('StartPasswordHintSync')
            h.say('OK')
            h.expect('SendPasswordHint')
            h.say(hint)
        h.end()
        return h.received
    finally:
        h.close()


# Files the program's own histories write whenever the view is pointed at the
# user again, which every session of the current user does at its end.
HISTORY_FILES = ('SmartTypes.xml', 'SearchHistory.xml', 'EventsLog.xml')


def tree_digest(folder, skip=()):
    """Every file below the folder with a digest of its bytes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            rel = os.path.relpath(path, folder)
            if any(rel.startswith(s) for s in skip) or name in HISTORY_FILES:
                continue
            with open(path, 'rb') as f:
                files[rel] = hashlib.sha1(f.read()).hexdigest()
    return files


def misbehaving_sessions(folder, mode, user_id=USER_ID, good=None):
    """(what, play): each play runs one session that must fail or cancel."""
    if good is None:
        good = handheld_database(folder, 'good.db')
    garbage = bytes(random.Random(7).randrange(256) for _ in range(9000))
    wrong = handheld_database(folder, 'wrong.db', crib=bytes(range(40)),
                              password=make_fixtures.field_blob(make_fixtures.Blowfish(
                                  make_fixtures.PASSWORD_COLUMN_KEY), 'not the password'), user_id=user_id)

    def unknown_command(h):
        h.expect('SendiPhoneDatabase')
        h.say('OK')
        h.expect('OK')
        h.say('Hello')  # answered and ignored
        h.expect('OK')
        h.say('EndOfFiles')
        h.expect('OK')
        h.failed_with('00000007')

    def over_long_command(h):
        h.expect('SendiPhoneDatabase')
        h.say('OK')
        h.expect('OK')
        h.say('X' * 300)
        h.expect_close(10)

    def stall(h):
        h.expect('SendiPhoneDatabase')
        h.say('OK')
        h.expect('OK')
        h.say('FileSe')
        took = h.expect_close(10)
        if took > 8:
            raise Failure('the stall held the desktop for %.1f s' % took)

    def huge_size(h):
        h.expect('SendiPhoneDatabase')
        h.say('OK')
        h.expect('OK')
        h.say('FileSend')
        h.expect('OK')
        h.say('ZorvikanDataBase.db')
        h.expect('OK')
        h.say('999999999')
        h.expect_close(10)

    def unsafe_name(h):
        h.expect('SendiPhoneDatabase')
        h.say('OK')
        h.expect('OK')
        h.send_file('..\\..\\ZorvikanDatabase.zdb', b'overwritten?' * 500)
        h.say('EndOfFiles')
        h.expect('OK')
        h.failed_with('00000005')

    def garbage_database(h):
        phase_one(h, garbage)
        h.failed_with('00000007')

    def wrong_password(h):
        phase_one(h, wrong)
        attachments_request(h, mode, [('3e9.zfa', b'x' * 5000)])
        h.failed_with('00000001')

    def disconnect_in_file(h):
        h.expect('SendiPhoneDatabase')
        h.say('OK')
        h.expect('OK')
        h.say('FileSend')
        h.expect('OK')
        h.say('ZorvikanDataBase.db')
        h.expect('OK')
        h.say(str(len(good)))
        h.expect('OK')
        h.say(good[:1000])

    def cancel(h):
        phase_one(h, good)
        if mode == 0:
            # Cancelled where the desktop offers its database.
            h.expect('SyncModeDesktopOverides')
            h.say('OK')
            h.expect('SyncFinalize')
            h.say('SendDesktopDatabase')
            h.expect('OK')
            h.say('OK')
            h.expect('FileSend')
            h.say('SyncHasToStop')
        else:
            h.expect('SyncModeIphoneOverides' if mode == 1 else 'SyncModeSynchronization')
            h.say('OK')
            h.expect('OK' if mode == 1 else 'SendNewAndModifiedAttachments')
            h.say('SyncHasToStop')
            h.expect('OK')
        h.end()

    def wrong_final_reply(h):
        phase_one(h, good)
        attachments_request(h, mode, [('3e9.zfa', b'y' * 100)])
        if mode == 2:
            # The last reply of mode 2 is not examined: fail earlier instead.
            h.expect('SyncFinalize')
            h.say('OK')
            h.expect('OK')
            h.say('SendDesktopDatabase')
            h.expect('OK')
            h.say('OK')
            h.expect('FileSend')
            h.close()
            return
        if mode == 0:
            h.expect('SyncModeDesktopOverides')
            h.say('OK')
            h.expect('SyncFinalize')
            h.say('No thanks')
            h.expect('OK')
            h.receive_folder()
            h.expect('OK')
        else:
            h.expect('SyncFinalize')
        h.say('Failure')
        h.failed_with('00000005')

    return [('unknown command', unknown_command), ('over-long command', over_long_command), ('stall', stall),
            ('huge size', huge_size), ('unsafe name', unsafe_name), ('garbage database', garbage_database),
            ('wrong crib and password', wrong_password), ('disconnect in a file', disconnect_in_file),
            ('cancel', cancel), ('wrong final reply', wrong_final_reply)]


NEW_USER_NAME = 'Newcomer'
NEW_PASSWORD = 'n3w handheld pw'


def desktop_kept(port, root, sessions, label, check=None):
    """Plays each misbehaving session against the program: none may change
    the desktop's files, nor fail check(what) (a list of failures)."""
    failures = []
    before = tree_digest(root, skip=('Preferences',))
    for what, play in sessions:
        h = Handheld(port)
        try:
            play(h)
        except (Failure, OSError) as e:
            failures.append('%s, %s: %s' % (label, what, e))
        finally:
            h.close()
        # The desktop ends its side within its time-out; wait for that
        # before comparing.
        time.sleep(RECEIVE_MS / 1000.0 + 0.5)
        if check:
            failures += check(what)
        after = tree_digest(root, skip=('Preferences',))
        if after != before:
            changed = sorted(k for k in set(before) | set(after) if before.get(k) != after.get(k))
            failures.append('%s, %s: the desktop changed: %s' % (label, what, changed))
            before = after
    return failures


def ini_sections(root):
    path = os.path.join(root, 'Preferences', 'Preferences.ini')
    with open(path, encoding='latin-1') as f:
        return [line.strip()[1:-1] for line in f if line.strip().startswith('[')]


def new_user_sessions(port, mode, work, root):
    """A handheld user the desktop does not have: every session that does
    not complete leaves no user, folder or section; the one that completes
    creates the user with its folders, its database under the handheld's
    password, its records, attachment and icon; the user is known from then
    on and keeps that password."""
    failures = []
    user_id = 'hh-new-%d' % mode
    folder = os.path.join(root, user_id)
    # One record's custom type uid is no uid: read as without a custom type.
    odd = make_fixtures.record('A000000000000011', 1011, None, '0000000000000012', make_fixtures.fields('Odd'),
                               custom=1, custom_uid='ABC')
    good, crib = protected_database(work, 'new-%d.db' % mode, user_id, NEW_USER_NAME, NEW_PASSWORD,
                                    records=make_fixtures.RECORDS + [odd])

    def left_behind(what):
        left = [name for name in ini_sections(root) if user_id in name]
        if left or os.path.exists(folder):
            return ['mode %d, new user, %s: a user was left behind (%s, folder %s)' %
                    (mode, what, left, os.path.exists(folder))]
        return []

    failures += desktop_kept(port, root, misbehaving_sessions(work, mode, user_id, good), 'mode %d, new user' % mode,
                             left_behind)
    try:
        received = successful_session(port, mode, good)
    except (Failure, OSError) as e:
        return failures + ['mode %d, new user: %s' % (mode, e)]
    database = os.path.join(folder, 'ZorvikanDatabase.zdb')
    if not os.path.exists(database):
        return failures + ['mode %d, new user: no database in %s' % (mode, folder)]
    with open(database, 'rb') as f:
        if f.read(40) != crib:
            failures.append('mode %d, new user: the database is not under the handheld\'s password' % mode)
    if not [name for name in ini_sections(root) if name == 'User-iPhone-%s-%s' % (user_id, NEW_USER_NAME)]:
        failures.append('mode %d, new user: no section in the preferences: %s' % (mode, ini_sections(root)))
    if mode != 0:
        # The attachment stays only with its record (1001).
        for path in (('Files', '3e9.zfa'), ('Icons', '1000.png')):
            if not os.path.exists(os.path.join(folder, *path)):
                failures.append('mode %d, new user: no %s' % (mode, '/'.join(path)))
    if mode == 2:
        copy = os.path.join(work, 'back-%d.db' % mode)
        with open(copy, 'wb') as f:
            f.write(received.get('ZorvikanDataBase.db', b''))
        db = sqlite3.connect(copy)
        try:
            duids = sorted(row[0] for row in db.execute('SELECT DUID FROM RECORDSTABLE'))
        except sqlite3.Error as e:
            duids = [str(e)]
        db.close()
        if 1001 not in duids or 1011 not in duids:
            failures.append('mode %d, new user: the records did not reach the desktop: %s' % (mode, duids))
    # Known now, under the handheld's password.
    h = Handheld(port)
    try:
        wrong, _ = protected_database(work, 'new-wrong-%d.db' % mode, user_id, NEW_USER_NAME, 'another one')
        phase_one(h, wrong)
        attachments_request(h, mode, [])
        h.failed_with('00000001')
    except (Failure, OSError) as e:
        failures.append('mode %d, new user, another password: %s' % (mode, e))
    finally:
        h.close()
    try:
        successful_session(port, mode, good)
    except (Failure, OSError) as e:
        failures.append('mode %d, new user, second session: %s' % (mode, e))
    return failures


def free_port():
    s = socket.socket()
    s.bind(('127.0.0.1', 0))
    port = s.getsockname()[1]
    s.close()
    return port


def windows_path(path):
    return 'Z:' + path.replace('/', '\\')


def run_mode(args, mode, work):
    root = os.path.join(work, 'root-%d' % mode)
    os.makedirs(os.path.join(root, 'Preferences'))
    with open(os.path.join(root, 'Preferences', 'Preferences.ini'), 'w') as f:
        # Not the first run (no password hint); the mode of every session.
        f.write('[Preferences iPhone]\r\nVirgin Sync=1\r\nSync Direction=%d\r\n' % mode)
    port = free_port()
    mdns = free_port()
    env = dict(os.environ, ZV_DATA_ROOT=windows_path(root), ZV_SYNC_PORT=str(port),
               ZV_SYNC_RECEIVE_MS=str(RECEIVE_MS), ZV_MDNS_TARGET='127.0.0.1:%d' % mdns)
    program = subprocess.Popen([args.wine, os.path.join(args.bin, 'Zorvikan Desktop.exe')], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failures = []
    try:
        database = os.path.join(root, USER_ID, 'ZorvikanDatabase.zdb')
        good = handheld_database(work, 'good-%d.db' % mode)
        # The program makes the user's database at its start.
        deadline = time.time() + 60
        while not os.path.exists(database) and time.time() < deadline:
            time.sleep(0.2)
        with open(database, 'rb') as f:
            first = f.read()
        received = successful_session(port, mode, good)
        if mode != 1 and 'ZorvikanDataBase.db' not in received:
            failures.append('mode %d: the rewritten handheld database was not sent' % mode)
        if mode != 1 and b'user-1' in received.get('ZorvikanDataBase.db', b''):
            failures.append('mode %d: the rewritten handheld database is not for the desktop user' % mode)
        with open(database, 'rb') as f:
            merged = f.read()
        # The handheld's records reach the desktop unless the desktop
        # overwrites, and with them the attachment of record 1001 (0x3e9).
        if mode != 0 and merged == first:
            failures.append('mode %d: the desktop database did not take the handheld records' % mode)
        if mode != 0 and not os.path.exists(os.path.join(root, USER_ID, 'Files', '3e9.zfa')):
            failures.append('mode %d: the handheld attachment is not in the desktop folder' % mode)
        # The next sessions must leave everything of the desktop as it is now.
        failures += desktop_kept(port, root, misbehaving_sessions(work, mode), 'mode %d' % mode)
        try:
            successful_session(port, mode, good, split=True)
        except (Failure, OSError) as e:
            failures.append('mode %d, the session after them all: %s' % (mode, e))
        if not os.path.exists(database):
            failures.append('mode %d: no desktop database' % mode)
        failures += new_user_sessions(port, mode, work, root)
        failures += renamed_user_session(args, env, port, mode, work, root, program)
    except (Failure, OSError) as e:
        failures.append('mode %d: %s' % (mode, e))
    finally:
        if program.poll() is None:
            program.kill()
        program.wait()
    return failures


def driver(args, env, *words):
    """The program's windows as window_driver sees them or works them."""
    result = subprocess.run([args.wine, os.path.join(args.bin, 'window_driver.exe')] + list(words), env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    return result.stdout.decode('latin-1').replace('\r', '')


def wait_for_window(args, env, wanted, timeout=60):
    """The driver's state once it shows the wanted text."""
    deadline = time.time() + timeout
    state = ''
    while time.time() < deadline:
        state = driver(args, env, 'state')
        if wanted in state:
            return state
        time.sleep(0.3)
    raise Failure('waited for %r; the windows show %r' % (wanted, state))


def close_program(args, env, program):
    """Closes the main window as a person does and waits for the end."""
    driver(args, env, 'close')
    try:
        program.wait(timeout=30)
    except subprocess.TimeoutExpired:
        raise Failure('the program did not end when its window was closed')


def ini_value(root, section, key):
    path = os.path.join(root, 'Preferences', 'Preferences.ini')
    current = None
    with open(path, encoding='latin-1') as f:
        for line in f:
            line = line.strip()
            if line.startswith('['):
                current = line[1:-1]
            elif current == section and line.startswith(key + '='):
                return line[len(key) + 1:]
    return None


def renamed_user_session(args, env, port, mode, work, root, program):
    """A known user whose handheld has another name now: the name is taken
    over in the caption and, with the user's settings, at exit."""
    failures = []
    renamed = handheld_database(work, 'renamed-%d.db' % mode, user_name='Renamed')
    successful_session(port, mode, renamed)
    try:
        wait_for_window(args, env, 'frame caption=Zorvikan Desktop - Renamed\n', timeout=20)
    except Failure as e:
        failures.append('mode %d, renamed user: %s' % (mode, e))
    close_program(args, env, program)
    old, new = 'User-Standalone-%s-%s' % (USER_ID, USER_NAME), 'User-Standalone-%s-Renamed' % USER_ID
    sections = ini_sections(root)
    if old in sections:
        failures.append('mode %d, renamed user: the old section stays: %s' % (mode, sections))
    if ini_value(root, new, 'DisplayName') != 'Renamed' or not ini_value(root, new, 'Winpos'):
        failures.append('mode %d, renamed user: the section %s lacks the name or the settings: %s' %
                        (mode, new, sections))
    return failures


def run_wizard(args, work):
    """The first start: the setup wizard waits for the handheld. A session
    that fails leaves no user and the wizard says so, offering Back; the one
    that completes creates the user, whom Finish makes current."""
    root = os.path.join(work, 'root-wizard')
    os.makedirs(os.path.join(root, 'Preferences'))
    port = free_port()
    env = dict(os.environ, ZV_DATA_ROOT=windows_path(root), ZV_SYNC_PORT=str(port),
               ZV_SYNC_RECEIVE_MS=str(RECEIVE_MS), ZV_MDNS_TARGET='127.0.0.1:%d' % free_port())
    program = subprocess.Popen([args.wine, os.path.join(args.bin, 'Zorvikan Desktop.exe')], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failures = []
    user_id = 'hh-wizard'
    folder = os.path.join(root, user_id)
    try:
        good, crib = protected_database(work, 'wizard.db', user_id, NEW_USER_NAME, NEW_PASSWORD)
        wait_for_window(args, env, 'wizard page=0')
        h = Handheld(port)
        try:
            dict(misbehaving_sessions(work, 1, user_id, good))['wrong final reply'](h)
        finally:
            h.close()
        driver(args, env, 'press', 'next')
        wait_for_window(args, env, 'wizard page=1 back=1 next=1')
        driver(args, env, 'press', 'next')
        state = wait_for_window(args, env, 'wizard page=2')
        if 'back=1 next=0 finish=0 title=The sync failed. Click Back to try again.' not in state:
            failures.append('wizard: after a failed session the last page shows %r' % state)
        if os.path.exists(folder) or [name for name in ini_sections(root) if user_id in name]:
            failures.append('wizard: the failed session left a user behind')
        driver(args, env, 'press', 'back')
        wait_for_window(args, env, 'wizard page=1')
        successful_session(port, 1, good, hint='the name of my first pet')
        wait_for_window(args, env, 'wizard page=1 back=0 next=1')
        driver(args, env, 'press', 'next')
        state = wait_for_window(args, env, 'wizard page=2')
        if 'finish=1 title=Congratulations! You have created %s' % NEW_USER_NAME not in state:
            failures.append('wizard: after the session that completed the last page shows %r' % state)
        driver(args, env, 'press', 'finish')
        # The handheld's password protects the user's database now.
        wait_for_window(args, env, 'logon')
        driver(args, env, 'logon', NEW_PASSWORD)
        wait_for_window(args, env, 'frame caption=Zorvikan Desktop - %s\n' % NEW_USER_NAME)
        with open(os.path.join(folder, 'ZorvikanDatabase.zdb'), 'rb') as f:
            if f.read(40) != crib:
                failures.append('wizard: the database is not under the handheld\'s password')
        for path in (('Files', '3e9.zfa'), ('Icons', '1000.png')):
            if not os.path.exists(os.path.join(folder, *path)):
                failures.append('wizard: no %s' % '/'.join(path))
        if ini_value(root, 'Preferences iPhone', 'Current User') != user_id:
            failures.append('wizard: the created user is not the current one')
        close_program(args, env, program)
    except (Failure, OSError) as e:
        failures.append('wizard: %s' % e)
    finally:
        if program.poll() is None:
            program.kill()
        program.wait()
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--bin', required=True)
    parser.add_argument('--wine', required=True)
    parser.add_argument('--modes', default='0,1,2')
    parser.add_argument('--wizard', action='store_true', help='the first start through the setup wizard')
    args = parser.parse_args()
    failures = []
    with tempfile.TemporaryDirectory(prefix='zvwifi-') as work:
        if args.wizard:
            failures += run_wizard(args, work)
        else:
            for mode in [int(m) for m in args.modes.split(',')]:
                failures += run_mode(args, mode, work)
    for failure in failures:
        print('FAILED: ' + failure)
    print('%d failure(s)' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
