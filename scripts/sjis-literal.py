#!/usr/bin/env python3
"""Prints a C++ string literal holding the Shift-JIS (code page 932) bytes of each argument.

The database layer keeps its fixed texts as the bytes the files use; this turns
a Japanese text into that literal, e.g. scripts/sjis-literal.py 受信
"""
import sys

HEX = set("0123456789abcdefABCDEF")


def literal(text: str) -> str:
    out, prev_hex = [], False
    for byte in text.encode("cp932"):
        ch = chr(byte)
        if byte >= 0x80 or byte < 0x20 or ch in '"\\':
            out.append("\\x%02X" % byte)
            prev_hex = True
        else:
            if prev_hex and ch in HEX:
                out.append('" "')
            out.append(ch)
            prev_hex = False
    return '"' + "".join(out) + '"'


for arg in sys.argv[1:]:
    print(f"{literal(arg)}  // {arg}")
