#!/usr/bin/env python3
"""The first start of the program with the test handheld: the program starts
on a data root of its own, its setup wizard waits for a handheld, and the test
handheld syncs a small sample user over loopback (a password, records of
several types, an attachment, a custom icon). The wizard is worked as a person
works it (window_driver.exe does the clicking): Next, the sync, Next, Finish,
then the log-on with the sample user's password; the main window then shows
the sample user's records.

scripts/run.sh --with-handheld takes this road and leaves the program running
(with --detach, for its screenshot, this script then ends); with --check it is
a test: every step is checked, and the program is closed.

    sample_handheld.py --bin <folder of "Zorvikan Desktop.exe"> --wine <runner> [--root <data root>]
                       [--check | --detach]
"""
import argparse
import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wifi_handheld as wh  # noqa: E402

make_fixtures = wh.make_fixtures

USER_ID = 'sample-handheld'
USER_NAME = 'Sample'
PASSWORD = 'Sample pw 2026'
HINT = 'printed by scripts/run.sh --with-handheld'
# The text a desktop database's first 40 bytes hold encrypted under its
# password: the handheld's crib of that password.
VERIFIER_PLAINTEXT = b'Zorvikan Desktop master password check.\0'

PERSONAL, BUSINESS = '0000000000000034', '0000000000000033'
CATEGORIES = [(PERSONAL, 'Personal'), (BUSINESS, 'Business')]
# The desktop's own types the records use: uid, name, icon, hidden mask, labels.
WEB, BANK, CARD, MAIL = '0000000000000012', '0000000000000001', '0000000000000006', '0000000000000007'
TYPES = [
    (BANK, 'Bank Accts', 2, 0x0004, ['Description', 'Account #', 'PIN', 'Name', 'Branch', 'Phone #']),
    (CARD, 'Credit Cards', 3, 0x0012, ['Description', 'Card #', 'Exp Date', 'Name', 'PIN', 'Bank']),
    (MAIL, 'Email Accts', 18, 0x0004, ['Description', 'Username', 'Password', 'POP3 Host', 'SMTP Host']),
    (WEB, 'Web Logins', 21, 0x0004, ['Description', 'Username', 'Password', 'URL']),
]
# The record of the custom type row draws the custom icon.
ICON_ID = 1000
CUSTOM_TYPE = 'C0FFEE0000000001'
MODIFIED = '2026-11-20 09:30:00 +0000'
# Record id, uid, category, type, fields, notes, custom type, attachment.
RECORDS = [
    (101, 'B000000000000101', PERSONAL, WEB, ['Web mail', 'sam.sample', 'w3b-Mail!', 'https://mail.example.com'],
     'Two-step sign-in on the phone.', None, None),
    (102, 'B000000000000102', BUSINESS, BANK, ['Savings', '12-3456-789', '4321', 'Sam Sample', 'Main Street',
                                               '555-0100'], '', None, ('statement.txt', 'Kx7#pQ2!vR9@tW4$yZ1&')),
    (103, 'B000000000000103', PERSONAL, CARD, ['Travel card', '4111 1111 1111 1111', '09/29', 'Sam Sample', '1234',
                                               'Example Bank'], 'Call the bank before trips abroad.', None, None),
    (104, 'B000000000000104', BUSINESS, MAIL, ['Work mail', 'sam', 'm4il-Pw', 'pop.example.com', 'smtp.example.com'],
     '', CUSTOM_TYPE, None),
    (105, 'B000000000000105', PERSONAL, WEB, ['Library', 'sam.s', 'b00ks-Pw', 'https://library.example.org'], '',
     None, None),
]
ATTACHMENT_TEXT = b'Statement of the savings account, November 2026: balance 1,234.56\r\n'


def blowfish(key):
    return make_fixtures.Blowfish(key.encode('latin-1'))


def sample_database(folder):
    """The handheld's database of the sample user, its fields under the
    user's password, as bytes."""
    cipher = blowfish(PASSWORD)
    blob = lambda text: make_fixtures.field_blob(cipher, text) if text else None
    path = os.path.join(folder, 'sample-handheld.db')
    if os.path.exists(path):
        os.remove(path)
    make_fixtures.HERE = folder
    db = make_fixtures.create('sample-handheld.db')
    crib = cipher.ecb(VERIFIER_PLAINTEXT)
    column = make_fixtures.field_blob(make_fixtures.Blowfish(make_fixtures.PASSWORD_COLUMN_KEY), PASSWORD)
    db.execute('INSERT INTO DATABASEINFOTABLE VALUES (?, ?, ?, ?, ?, ?, ?)',
               ('Zorvikan', 3, crib, column, 1795000000, USER_NAME, USER_ID))
    for uid, name in CATEGORIES:
        db.execute('INSERT INTO CATAGORIESTABLE VALUES (?, ?)', (uid, blob(name)))
    for uid, name, icon, mask, labels in TYPES:
        labels = (labels + [''] * 9)[:9] + ['Date Mod']
        db.execute('INSERT INTO TYPESTABLE VALUES (%s)' % ', '.join(['?'] * 14),
                   [uid, blob(name), icon, mask] + [blob(label) for label in labels])
    db.execute('INSERT INTO CUSTOMTYPESTABLE VALUES (%s)' % ', '.join(['?'] * 14),
               [CUSTOM_TYPE, blob('Email Accts'), ICON_ID, 0x0004] + [None] * 10)
    for duid, uid, category, typ, values, notes, custom, attachment in RECORDS:
        values = (values + [''] * 9)[:9] + [MODIFIED]
        name, key = attachment or ('', '')
        db.execute('INSERT INTO RECORDSTABLE VALUES (%s)' % ', '.join(['?'] * 22),
                   [uid, duid, 0, category, typ] + [blob(v) for v in values] +
                   [blob(notes), 1 if custom else 0, custom, 0, blob(name), blob(key), 0])
    db.commit()
    db.close()
    with open(path, 'rb') as f:
        return f.read()


def sample_attachments():
    """The stored attachment files: the file's bytes padded to whole blocks,
    under the record's attachment key."""
    files = []
    for duid, _, _, _, _, _, _, attachment in RECORDS:
        if attachment:
            padded = ATTACHMENT_TEXT + b'\0' * (-len(ATTACHMENT_TEXT) % 8)
            files.append(('%x.zfa' % duid, blowfish(attachment[1]).ecb(padded)))
    return files


def sample_icon(size=32):
    """A PNG picture: a gold key on a clear ground."""
    def pixel(x, y):
        cx, cy = 10.5, 15.5
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        ring = 16 <= d2 <= 64
        shaft = 17 <= x <= 29 and 14 <= y <= 17
        teeth = (22 <= x <= 23 or 26 <= x <= 27) and 18 <= y <= 21
        return (212, 160, 23, 255) if ring or shaft or teeth else (0, 0, 0, 0)

    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(size)) for y in range(size))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def first_sync(port, work):
    """The sample user's first sync, as the handheld plays it against the
    setup wizard (handheld overwrites desktop, then the password hint)."""
    h = wh.Handheld(port)
    try:
        wh.phase_one(h, sample_database(work))
        word = h.read(10)
        if word == b'SyncFailed':
            h.say('OK')
            raise wh.Failure('the desktop ended the session: SyncFailed %s' % h.read(8).decode('latin-1'))
        if word + h.read(12) != b'SyncModeIphoneOverides':
            raise wh.Failure('expected the mode of the first start, got %r' % word)
        h.say('OK')
        h.expect('OK')
        h.batch(sample_attachments())
        h.expect('SyncFinalize')
        h.say('SyncSuccess')
        h.expect('SendiPhoneCustomIcons')
        h.batch([('%d.png' % ICON_ID, sample_icon())])
        h.expect('StartPasswordHintSync')
        h.say('OK')
        h.expect('SendPasswordHint')
        h.say(HINT)
        h.end()
    finally:
        h.close()


class Program:
    """The program on its own data root, with the sync server on a free
    loopback port and its announcement sent to loopback too."""

    def __init__(self, args):
        self.args = args
        self.port = wh.free_port()
        self.env = dict(os.environ, ZV_DATA_ROOT=wh.windows_path(args.root), ZV_SYNC_PORT=str(self.port),
                        ZV_MDNS_TARGET='127.0.0.1:%d' % wh.free_port())
        self.process = subprocess.Popen([args.wine, os.path.join(args.bin, 'Zorvikan Desktop.exe')], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def driver(self, *words):
        """The program's windows as window_driver sees them or works them."""
        result = subprocess.run([self.args.wine, os.path.join(self.args.bin, 'window_driver.exe')] + list(words),
                                env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        return result.stdout.decode('latin-1').replace('\r', '')

    def wait_for(self, wanted, timeout=60):
        """The windows' state once it shows the wanted text."""
        deadline = time.time() + timeout
        state = ''
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise wh.Failure('the program ended (%d) while waiting for %r' % (self.process.returncode, wanted))
            state = self.driver('state')
            if wanted in state:
                return state
            time.sleep(0.3)
        raise wh.Failure('waited for %r; the windows show %r' % (wanted, state))

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


def first_start(program, work):
    """The setup wizard passed with the sample user's first sync; the main
    window's state at the end."""
    program.wait_for('wizard page=0')
    program.driver('press', 'next')
    program.wait_for('wizard page=1')
    first_sync(program.port, work)
    program.wait_for('wizard page=1 back=0 next=1')
    program.driver('press', 'next')
    state = program.wait_for('wizard page=2')
    if 'finish=1 title=Congratulations! You have created %s' % USER_NAME not in state:
        raise wh.Failure('after the sync the last page shows %r' % state)
    program.driver('press', 'finish')
    # The handheld's password protects the new user's database.
    program.wait_for('logon')
    program.driver('logon', PASSWORD)
    return program.wait_for('frame caption=Zorvikan Desktop - %s\n' % USER_NAME)


def check(program, root):
    """What the road must have made: the sample user's folder, database
    under its password, attachment and icon, and its records in the list."""
    failures = []
    folder = os.path.join(root, USER_ID)
    database = os.path.join(folder, 'ZorvikanDatabase.zdb')
    if not os.path.exists(database):
        return ['no database in %s' % folder]
    with open(database, 'rb') as f:
        if f.read(40) != blowfish(PASSWORD).ecb(VERIFIER_PLAINTEXT):
            failures.append('the database is not under the sample user\'s password')
    for path in (('Files', '%x.zfa' % RECORDS[1][0]), ('Icons', '%d.png' % ICON_ID)):
        if not os.path.exists(os.path.join(folder, *path)):
            failures.append('no %s in the user\'s folder' % '/'.join(path))
    rows = program.driver('records')
    if 'records rows=%d shown=1\n' % len(RECORDS) not in rows:
        failures.append('the main window\'s list does not show the sample records: %r' % rows)
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--bin', required=True)
    parser.add_argument('--wine', required=True)
    parser.add_argument('--root', help='the data root, made afresh (a scratch one by default)')
    parser.add_argument('--check', action='store_true', help='check every step, then close the program')
    parser.add_argument('--detach', action='store_true', help='end once the main window shows, the program running')
    args = parser.parse_args()
    scratch = None
    if not args.root:
        scratch = tempfile.TemporaryDirectory(prefix='zvfirst-')
        args.root = scratch.name
    args.root = os.path.abspath(args.root)
    if os.path.exists(os.path.join(args.root, 'Preferences')):
        raise SystemExit('%s is not a fresh data root' % args.root)
    os.makedirs(args.root, exist_ok=True)
    program = Program(args)
    failures = []
    try:
        with tempfile.TemporaryDirectory(prefix='zvsample-') as work:
            first_start(program, work)
        if args.check:
            failures = check(program, args.root)
            program.driver('close')
            program.process.wait(timeout=30)
            if program.process.returncode != 0:
                failures.append('the program ended with %d' % program.process.returncode)
        else:
            print('The sample user "%s" (password: %s) came from the test handheld; the main window shows its '
                  'records.' % (USER_NAME, PASSWORD))
            if args.detach:
                return 0
            program.process.wait()
    except (wh.Failure, OSError, subprocess.SubprocessError) as e:
        failures.append(str(e))
    finally:
        if not args.detach or failures:
            program.stop()
        if scratch:
            scratch.cleanup()
    for failure in failures:
        print('FAILED: ' + failure)
    if args.check:
        print('%d failure(s)' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
