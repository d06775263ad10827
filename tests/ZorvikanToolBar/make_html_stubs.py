#!/usr/bin/env python3
"""Writes the base classes of the tests' fake HTML objects.

The document-object interfaces have up to a hundred methods each, of which a
fill uses a handful. For each interface named on the command line this reads
its C++ declaration from the cross compiler's mshtml.h and writes a class
Stub<Interface> that answers E_NOTIMPL to every method of the interface and
of IDispatch; IUnknown is left to the fake. Run by the build:
    make_html_stubs.py <mshtml.h> <output.h> IHTMLElement ...
"""
import re
import sys

DISPATCH = [
    'GetTypeInfoCount(UINT *pctinfo)',
    'GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo)',
    'GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid, DISPID *rgDispId)',
    'Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams, '
    'VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr)',
]


def methods_of(header, name):
    """The methods of the interface and of its bases up to IDispatch."""
    start = re.search(r'^MIDL_INTERFACE\("[^"]+"\)\s*\n\s*%s : public (\w+)\s*\n\{' % re.escape(name),
                      header, re.M)
    if not start:
        sys.exit('interface %s not found' % name)
    base = start.group(1)
    inherited = [] if base == 'IDispatch' else methods_of(header, base)
    body = header[start.end():header.index('\n};', start.end())]
    found = re.findall(r'virtual HRESULT STDMETHODCALLTYPE (\w+)\((.*?)\) = 0;', body, re.S)
    # Without default arguments: the fakes never call these.
    plain = lambda args: ', '.join(p.split(' = ')[0] for p in ' '.join(args.split()).split(', ') if p)
    return inherited + ['%s(%s)' % (m, plain(args)) for m, args in found]


def main():
    source, output, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    header = open(source, encoding='latin-1').read()
    out = ['// Made by make_html_stubs.py from %s; do not edit.' % source.split('/')[-1],
           '#pragma once', '#include <windows.h>', '#include <mshtml.h>', '', 'namespace zvtest {', '']
    for name in names:
        out.append('class Stub%s : public %s {' % (name, name))
        out.append('public:')
        for method in DISPATCH + methods_of(header, name):
            out.append('    HRESULT STDMETHODCALLTYPE %s override { return E_NOTIMPL; }' % method)
        out.append('};')
        out.append('')
    out.append('}  // namespace zvtest')
    open(output, 'w').write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main()
