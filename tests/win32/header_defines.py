"""Reads the #define lines of a C header: the product identity that the code
is compiled from, and the resource ids the code uses."""
import re

_DEFINE = re.compile(r'^\s*#define\s+(\w+)\s+(.+?)\s*$')


def _value(text):
    if text.startswith('"') and text.endswith('"'):
        return re.sub(r'\\(.)', r'\1', text[1:-1])
    try:
        return int(text, 0)
    except ValueError:
        return text


def read_defines(path):
    with open(path, encoding="ascii") as f:
        return {m.group(1): _value(m.group(2)) for m in map(_DEFINE.match, f) if m}
