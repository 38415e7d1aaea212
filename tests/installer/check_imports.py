#!/usr/bin/env python3
"""Checks that the program's import table names only KnownDLLs: the loader
resolves those from System32 whatever folder the program runs from, while any
other DLL imported normally would be looked for in the program's own folder
first, before the program's first line could limit the search. The others must
be delay-loaded (binutils' dump does not list MinGW's delay-load thunks, so
only the import table is checked).

    check_imports.py <objdump> <program.exe>..."""
import re
import subprocess
import sys

# HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs on
# Windows 10 and 11, plus ntdll, which every process maps from System32.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll", "gdi32.dll",
    "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll",
    "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll",
    "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}


def imported_dlls(objdump, program):
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    return re.findall(r"^\s*DLL Name: (\S+)", text, re.MULTILINE)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    objdump = sys.argv[1]
    failures = []
    for program in sys.argv[2:]:
        imports = imported_dlls(objdump, program)
        if not imports:
            failures.append(f"{program}: no import table found")
        for name in imports:
            if name.lower() not in KNOWN_DLLS:
                failures.append(f"{program}: imports {name}, which is not a KnownDLL")
        print(f"{program}: imports {sorted(n.lower() for n in imports)}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
