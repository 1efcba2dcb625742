#!/usr/bin/env python3
"""Prints the executable's size figures as "<name> <bytes>" lines: code and
data (every section but the resources, at its size in memory), the resources,
and the file. Usage: exe_size.py <exe>"""
import sys

import pefile

pe = pefile.PE(sys.argv[1], fast_load=True)
code = data = resources = 0
for section in pe.sections:
    name = section.Name.rstrip(b"\0").decode(errors="replace")
    size = section.Misc_VirtualSize
    if name == ".rsrc":
        resources += size
    elif section.Characteristics & pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_CNT_CODE"]:
        code += size
    else:
        data += size
with open(sys.argv[1], "rb") as f:
    file_size = len(f.read())
print(f"exe_code {code}")
print(f"exe_data {data}")
print(f"exe_code_data {code + data}")
print(f"exe_resources {resources}")
print(f"exe_file {file_size}")
