#!/usr/bin/env python3
"""Counts C++ lines (blank and comment-only lines aside) in src and tests and
prints the tests' share."""
import os
import re
import sys


def count(root):
    total = 0
    for folder, _, files in os.walk(root):
        for name in files:
            if not re.search(r'\.(cpp|h|inc)$', name):
                continue
            in_comment = False
            with open(os.path.join(folder, name), encoding='utf-8', errors='replace') as f:
                for line in f:
                    s = line.strip()
                    if in_comment:
                        in_comment = '*/' not in s
                        continue
                    if not s or s.startswith('//'):
                        continue
                    if s.startswith('/*'):
                        in_comment = '*/' not in s
                        continue
                    total += 1
    return total


os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
src, tests = count('src'), count('tests')
print(f'src {src}  tests {tests}  share {100 * tests / (src + tests):.1f}%')
sys.exit(0)
