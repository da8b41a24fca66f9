#!/usr/bin/env python3
"""Packs dist/<arch>/ into dist/KVRegister-<version>-<arch>.zip for integrators, and checks the
result: the installed files, both DLLs with the plain-C one's import library, the host, the
public headers, the samples, a .reg file and the protocol reference (integration.md).

Usage: package.py <repository root> <arch>...   Exit status 1 when a package is incomplete.
"""
import sys
import zipfile
from pathlib import Path

# What a package must hold, beside the folder layout the DLL reads.
REQUIRED = [
    "KVRegister.dll", "KVRegisterC.dll", "KVCountryCodes.dll", "KVRegisterHost.exe",
    "register.cfg", "register.lang", "registercompany.lang",
    "Icons/ApplicationLarge.ico", "Icons/ApplicationSmall.ico", "Bitmaps/Register.bmp",
    "include/KVRegisterApi.h", "include/KVRegisterC.h", "lib/KVRegisterC.lib", "lib/KVRegisterC.def",
    "samples/KVSampleC.c", "samples/KVSampleCpp.cpp", "KVRegister.reg", "integration.md",
]

# Copied from the repository as they are.
SOURCES = ["include/KVRegisterApi.h", "include/KVRegisterC.h", "samples/KVSampleC.c", "samples/KVSampleCpp.cpp"]

# REGEDIT4 files are read in the system code page with CR LF line ends.
REG_TEMPLATE = (
    "REGEDIT4\r\n"
    "\r\n"
    "; Where the wizard finds its files, and a log of errors and information.\r\n"
    "; Change the folder to where you installed the package, with doubled backslashes.\r\n"
    "; HKEY_CURRENT_USER is the same for 32- and 64-bit programs: a 32-bit and a 64-bit\r\n"
    "; installation on one machine each need their own key path, here and in their host.\r\n"
    "[HKEY_CURRENT_USER\\Software\\Korvane\\VerazevEzude\\2.0]\r\n"
    "\"InstallRoot\"=\"C:\\\\Program Files\\\\Korvane\\\\KVRegister\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Korvane\\VerazevEzude\\2.0\\Debug]\r\n"
    "\"LogLevel\"=dword:00000002\r\n"
)


def build(root: Path, arch: str) -> list:
    version = (root / "VERSION").read_text().strip()
    source = root / "dist" / arch
    target = root / "dist" / f"KVRegister-{version}-{arch}.zip"
    extra = {name: (root / name).read_bytes() for name in SOURCES}
    extra.update({
        "KVRegister.reg": REG_TEMPLATE.encode("cp1252"),
        "integration.md": (root / "docs/integration.md").read_bytes(),
    })
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as package:
        for path in sorted(p for p in source.rglob("*") if p.is_file()):
            package.write(path, path.relative_to(source).as_posix())
        for name, data in extra.items():
            package.writestr(name, data)
    with zipfile.ZipFile(target) as package:
        names = set(package.namelist())
        bad = package.testzip()
    problems = [f"{target.name}: {name} missing" for name in REQUIRED if name not in names]
    if bad:
        problems.append(f"{target.name}: {bad} is damaged")
    print(f"{target.relative_to(root)}: {len(names)} files")
    return problems


def main() -> int:
    root = Path(sys.argv[1]).resolve()
    problems = []
    for arch in sys.argv[2:]:
        try:
            problems += build(root, arch)
        except OSError as error:
            problems.append(f"{arch}: {error}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
