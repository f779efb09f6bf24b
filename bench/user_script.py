#!/usr/bin/env python3
"""What a user would write instead of the tool: walk, check, rename."""
import os
import sys

root = sys.argv[1]
ok = failed = 0
for dirpath, dirnames, filenames in os.walk(root):
    dirnames[:] = [d for d in dirnames if not d.startswith(".")]
    for name in filenames:
        lower = name.lower()
        p = lower.find(".201")
        if lower.endswith(".qjd") and p >= 1:
            target = os.path.join(dirpath, lower[:p])
            if os.path.exists(target):
                failed += 1
                continue
            os.rename(os.path.join(dirpath, name), target)
            ok += 1
print(f"{ok} renamed, {failed} failed")
