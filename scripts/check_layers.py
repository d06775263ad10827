#!/usr/bin/env python3
"""Fails on an include that points up the layers.

Each layer may include its own headers and those of the layers below it:
framework -> core -> toolkit -> app -> mainwindow, exchange, sync; the
browser plug-in stands on core alone; desktop/ composes the program. The
build enforces the same through each layer's include path; this check also
covers files the current configuration does not compile.
"""
import os
import re
import sys

BELOW = {
    'framework': [],
    'core': ['framework'],
    'toolkit': ['framework', 'core'],
    'app': ['framework', 'core', 'toolkit'],
    'mainwindow': ['framework', 'core', 'toolkit', 'app'],
    'exchange': ['framework', 'core', 'toolkit', 'app'],
    'sync': ['framework', 'core', 'toolkit', 'app'],
    'ZorvikanToolBar': ['framework', 'core'],
}
LAYERS = set(BELOW) | {'desktop', 'tests', 'bench', 'platform'}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
SOURCE = re.compile(r'\.(h|hpp|c|cpp|inl|rc|rc2)$')


def check(root):
    bad = []
    for layer, below in BELOW.items():
        allowed = set(below) | {layer}
        top = os.path.join(root, layer)
        for folder, _, files in os.walk(top):
            for name in files:
                if not SOURCE.search(name):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding='latin-1') as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        first = m.group(1).split('/')[0]
                        if '/' in m.group(1) and first in LAYERS and first not in allowed:
                            bad.append('%s:%d: %s includes %s, a layer it may not see'
                                       % (os.path.relpath(path, root), number, layer, m.group(1)))
    return bad


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    bad = check(os.path.abspath(root))
    for line in bad:
        print(line)
    if bad:
        print('[layers] %d include(s) point up the layers' % len(bad))
        return 1
    print('[layers] every include points down')
    return 0


if __name__ == '__main__':
    sys.exit(main())
