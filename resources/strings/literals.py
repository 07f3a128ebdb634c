#!/usr/bin/env python3
"""Collects the Chinese texts written into the program's source (captions, messages, menu items
that do not come from the string table) so OpenCC can give each its Simplified form.

usage: literals.py OUT_TEXTS OUT_CHARS SOURCE_DIR
OUT_TEXTS gets one text a line (line breaks, tabs and backslashes escaped as in the string
table); OUT_CHARS gets every Chinese character of them and of the string table, one a line,
so each can be converted on its own for texts the program puts together at run time."""
import pathlib
import re
import sys

out_texts, out_chars, source_dir = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
literal = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
cjk = re.compile(r'[\u3400-\u9fff\uf900-\ufaff]')


def unescape(s):
    out, i = [], 0
    while i < len(s):
        c = s[i]
        if c == '\\' and i + 1 < len(s):
            n = s[i + 1]
            out.append({'n': '\n', 'r': '\r', 't': '\t', '\\': '\\', '"': '"', "'": "'"}.get(n, '\\' + n))
            i += 2
            continue
        out.append(c)
        i += 1
    return ''.join(out)


def escape(s):
    return s.replace('\\', '\\\\').replace('\n', '\\n').replace('\r', '\\r').replace('\t', '\\t')


texts, chars = set(), set()
for path in sorted(list(source_dir.rglob('*.cpp')) + list(source_dir.rglob('*.h'))):
    for line in path.read_text(encoding='utf-8').splitlines():
        if line.lstrip().startswith('//'):
            continue
        for m in literal.finditer(line):
            text = unescape(m.group(1))
            if cjk.search(text):
                texts.add(text)
table = source_dir.parent / 'resources' / 'strings' / 'zh_TW.tsv'
for text in list(texts) + table.read_text(encoding='utf-8').splitlines():
    chars.update(cjk.findall(text))
pathlib.Path(out_texts).write_text(''.join(escape(t) + '\n' for t in sorted(texts)), encoding='utf-8')
pathlib.Path(out_chars).write_text(''.join(c + '\n' for c in sorted(chars)), encoding='utf-8')
