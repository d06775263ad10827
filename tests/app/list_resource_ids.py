#!/usr/bin/env python3
"""Lists every string, bitmap, icon and cursor id the program's sources load,
as rows of a C++ table for resource_ids_test.cpp.

An id counts as loaded when a named id (IDS_, IDB_, IDI_ and the cursors of
LoadCursor) appears in a source of the program, or when a name or number is
the first argument of a call that loads a string (LoadString, Loaded,
TableText, AfxMessageBox with a number, Format with a string id). Names are
resolved through the #define and const definitions of the tree, the file's
own first. What cannot be resolved to a number (a variable) is left out;
the test adds the ranges such code walks.

usage: list_resource_ids.py <repository root> <output file>
"""
import os
import re
import sys

PROGRAM_FOLDERS = ['framework', 'core', 'toolkit', 'app', 'mainwindow', 'exchange', 'sync', 'desktop']
SOURCE_ENDINGS = ('.cpp', '.h')

DEFINE = re.compile(r'^\s*#define\s+([A-Za-z_]\w*)\s+\(?\s*(0x[0-9A-Fa-f]+|\d+)\s*\)?\s*(?://.*)?$', re.M)
CONST = re.compile(r'\b(?:const|constexpr)\s+(?:static\s+)?(?:unsigned(?:\s+int)?|UINT|int|WORD|DWORD)\s+'
                   r'([A-Za-z_]\w*)\s*=\s*(0x[0-9A-Fa-f]+|\d+)\s*;')
STRING_CALL = re.compile(r'\b(?:LoadString|Loaded|TableText|AfxMessageBox|Format)\s*\(\s*([A-Za-z_]\w*|0x[0-9A-Fa-f]+|\d+)\s*[,)]')
NAMED = re.compile(r'\b(IDS_\w+|IDB_\w+|IDI_\w+)\b')
CURSOR_CALL = re.compile(r'\bLoadCursorA?\s*\(\s*(?:AfxGetResourceHandle\(\)|AfxGetInstanceHandle\(\))\s*,\s*'
                         r'MAKEINTRESOURCEA?\s*\(\s*([A-Za-z_]\w*|\d+)\s*\)')
COMMENT = re.compile(r'//[^\n]*|/\*.*?\*/', re.S)
QUOTED = re.compile(r'"(?:\\.|[^"\\])*"')

# Names that are no resources of the program: the system's own.
SYSTEM_NAMES = {'IDI_APPLICATION', 'IDI_ERROR', 'IDI_WARNING', 'IDI_INFORMATION', 'IDI_QUESTION', 'IDI_HAND',
                'IDI_EXCLAMATION', 'IDI_ASTERISK', 'IDI_WINLOGO', 'IDI_SHIELD'}


# Loads that fall back by design: the framework's application title is the
# program's file name when the table has none.
OPTIONAL_STRINGS = {0xE000}


def number(text):
    return int(text, 16) if text.lower().startswith('0x') else int(text)


def read_sources(root):
    sources = {}
    for folder in PROGRAM_FOLDERS:
        for base, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if name.endswith(SOURCE_ENDINGS):
                    path = os.path.join(base, name)
                    with open(path, encoding='utf-8', errors='replace') as f:
                        sources[os.path.relpath(path, root)] = f.read()
    return sources


def definitions(text):
    found = {}
    for pattern in (DEFINE, CONST):
        for name, value in pattern.findall(text):
            found.setdefault(name, number(value))
    return found


def main():
    root, output = sys.argv[1], sys.argv[2]
    sources = read_sources(root)
    local = {path: definitions(text) for path, text in sources.items()}
    shared = {}
    for path, found in sorted(local.items()):
        if path.endswith('.h'):
            for name, value in found.items():
                shared.setdefault(name, value)

    rows = {}

    def add(kind, name, path):
        if name in SYSTEM_NAMES:
            return
        if re.fullmatch(r'0x[0-9A-Fa-f]+|\d+', name):
            value = number(name)
        elif name in local[path]:
            value = local[path][name]
        elif name in shared:
            value = shared[name]
        else:
            return
        if kind == 'string' and value in OPTIONAL_STRINGS:
            return
        rows.setdefault((kind, value), (name, path))

    for path, text in sorted(sources.items()):
        code = QUOTED.sub('""', COMMENT.sub('', text))
        for name in NAMED.findall(code):
            # The id headers themselves only name them; the sources load them.
            if path.endswith('.h') and re.search(r'#define\s+' + name + r'\b', code):
                continue
            add({'IDS': 'string', 'IDB': 'bitmap', 'IDI': 'icon'}[name[:3]], name, path)
        for name in STRING_CALL.findall(code):
            if name.startswith(('IDB_', 'IDI_')):
                continue
            resolved = name in local[path] or name in shared or re.fullmatch(r'0x[0-9A-Fa-f]+|\d+', name)
            if resolved:
                add('string', name, path)
        for name in CURSOR_CALL.findall(code):
            add('cursor', name, path)

    with open(output, 'w') as f:
        f.write('// Written by tests/app/list_resource_ids.py at build time.\n')
        for (kind, value), (name, path) in sorted(rows.items()):
            f.write('{ResourceKind::k%s, %d, "%s", "%s"},\n' % (kind.capitalize(), value, name, path))


if __name__ == '__main__':
    main()
