#!/usr/bin/python3
"""tools/setup on a bare Debian 12: every program, header, library and font
the build and the tests call comes from a package it installs, from what
those pull in themselves (without recommends), or from the base system.

Run from the repository root (CTest does). Needs dpkg and apt-cache, and the
packages installed, as on any machine the build has run on.
"""
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# What the build and the tests call, by program name or file.
PROGRAMS = [
    "cmake", "ninja", "gcc", "g++", "clang", "clang++", "pkg-config", "dpkg-source", "xz", "patch",
    "x86_64-w64-mingw32-g++-posix", "i686-w64-mingw32-g++-posix", "x86_64-w64-mingw32-windres",
    "i686-w64-mingw32-windres", "Xvfb", "xdpyinfo", "xdotool", "import", "convert", "python3",
    "kdb5_util", "kadmin.local", "krb5kdc", "kinit", "iconv", "flock",
]
FILES = [
    "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver", "/usr/share/wine/fonts/marlett.ttf",
    "/usr/src/googletest/CMakeLists.txt", "/usr/include/gtest/gtest.h", "/usr/include/benchmark/benchmark.h",
    "/usr/include/pixman-1/pixman.h", "/usr/include/jpeglib.h",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "/usr/share/fonts/truetype/arphic/uming.ttc",
    "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so", "/usr/lib/x86_64-linux-gnu/libodbc.so.2",
]
PYTHON_MODULES = ["PIL", "gssapi"]


def listed_packages():
    text = open(os.path.join(ROOT, "tools", "setup"), encoding="utf-8").read()
    body = re.search(r"packages=\((.*?)\n\)", text, re.S).group(1)
    words = []
    for line in body.splitlines():
        words += line.split("#", 1)[0].split()
    return words


def closure(packages):
    """The packages and everything they depend on, without recommends."""
    out = subprocess.run(["apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests",
                          "--no-conflicts", "--no-breaks", "--no-replaces", "--no-enhances",
                          "--important", *packages], capture_output=True, text=True, check=True).stdout
    names = set()
    for line in out.splitlines():
        line = line.strip()
        if not line:
            continue
        if ":" in line and not line.startswith("<"):
            line = line.split(":", 1)[1].strip()
        names.add(line.strip("<>").split(":")[0])
    return names


def base_system():
    """What a bare Debian system has: the essential and the required packages."""
    out = subprocess.run(["dpkg-query", "-W", "-f", "${Package} ${Essential} ${Priority}\n"],
                         capture_output=True, text=True, check=True).stdout
    return {p for p, essential, priority in (line.split() for line in out.splitlines() if line.count(" ") == 2)
            if essential == "yes" or priority == "required"}


def owner(path):
    real = os.path.realpath(path)
    for candidate in (path, real):
        found = subprocess.run(["dpkg", "-S", candidate], capture_output=True, text=True)
        if found.returncode == 0:
            return found.stdout.split(":", 1)[0].split(",")[0].strip()
    return None


def main():
    have = closure(listed_packages()) | base_system()
    missing = []
    # The system's own programs: a bare machine has nothing else on its path.
    system_path = "/usr/sbin:/sbin:/usr/bin:/bin"
    needed = [(name, shutil.which(name, path=system_path)) for name in PROGRAMS] + [(path, path) for path in FILES]
    for module in PYTHON_MODULES:
        found = subprocess.run(["/usr/bin/python3", "-c", "import %s; print(%s.__file__)" % (module, module)],
                               capture_output=True, text=True)
        needed.append((module, found.stdout.strip() if found.returncode == 0 else None))
    for name, path in needed:
        if not path or not os.path.exists(path):
            missing.append("%s: not on this machine, so its package cannot be checked" % name)
            continue
        package = owner(path)
        if package is None:
            missing.append("%s (%s): no package owns it" % (name, path))
        elif package not in have:
            missing.append("%s (%s): package %s is not installed by tools/setup" % (name, path, package))
    for line in missing:
        print(line)
    if missing:
        sys.exit(1)
    print("all %d needs are met by tools/setup" % len(needed))


if __name__ == "__main__":
    main()
