#!/usr/bin/env python3
"""Tests of tools/check-imports: the verdicts on import lists, and the reading
of PE images (made here, byte by byte, as the linker lays them out)."""

import importlib.machinery
import importlib.util
import os
import struct
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.machinery.SourceFileLoader("check_imports", os.path.join(HERE, "check-imports"))
_spec = importlib.util.spec_from_loader("check_imports", _loader)
check = importlib.util.module_from_spec(_spec)
_loader.exec_module(check)

BASELINE = check.Baseline.parse("""
target kzo.exe       95+IE4.01  NT4+IE4.01
target tickr.exe     95         NT4
target tickrnt.exe   -          NT4
target setup.exe     95         NT4
KERNEL32.dll!CloseHandle           95         NT3.1       SDK
KERNEL32.dll!GetTickCount64        -          Vista       SDK
KERNEL32.dll!GetFileSizeEx         -          2000        SDK
ADVAPI32.dll!StartServiceCtrlDispatcherA  95  NT3.1       STUB
ADVAPI32.dll!RegisterServiceCtrlHandlerExA  -  2000       SDK
ADVAPI32.dll!ChangeServiceConfig2A -          NT4         SDK
SHLWAPI.dll!SHDeleteKeyA           95+IE4.01  NT4+IE4.01  SHLWAPI 4.71
COMCTL32.DLL!InitCommonControlsEx  95+IE4.01  NT4+IE4.01  CC 4.70
""")


class Verdicts(unittest.TestCase):
    def test_import_lists(self):
        cases = [
            ("every import on the targets", "tickr.exe", [("kernel32.dll", "CloseHandle")], []),
            ("a Vista function", "tickr.exe", [("KERNEL32.dll", "GetTickCount64")],
             ["tickr.exe: imports KERNEL32.dll!GetTickCount64, which Windows 95 lacks "
              "(first in no system of the family)",
              "tickr.exe: imports KERNEL32.dll!GetTickCount64, which Windows NT4 lacks (first in Vista)"]),
            ("shlwapi in setup", "setup.exe", [("SHLWAPI.dll", "SHDeleteKeyA")],
             ["setup.exe: imports SHLWAPI.dll!SHDeleteKeyA, which Windows 95 lacks (first in 95+IE4.01)",
              "setup.exe: imports SHLWAPI.dll!SHDeleteKeyA, which Windows NT4 lacks (first in NT4+IE4.01)"]),
            ("the Terminal may rely on Internet Explorer 4.01", "kzo.exe",
             [("SHLWAPI.dll", "SHDeleteKeyA"), ("COMCTL32.DLL", "InitCommonControlsEx")], []),
            ("but not on Windows 2000", "kzo.exe", [("KERNEL32.dll", "GetFileSizeEx")],
             ["kzo.exe: imports KERNEL32.dll!GetFileSizeEx, which Windows 95+IE4.01 lacks "
              "(first in no system of the family)",
              "kzo.exe: imports KERNEL32.dll!GetFileSizeEx, which Windows NT4+IE4.01 lacks (first in 2000)"]),
            ("the service is not for 95/98/Me", "tickrnt.exe",
             [("ADVAPI32.dll", "ChangeServiceConfig2A"), ("ADVAPI32.dll", "StartServiceCtrlDispatcherA")], []),
            ("yet it needs NT 4.0", "tickrnt.exe", [("ADVAPI32.dll", "RegisterServiceCtrlHandlerExA")],
             ["tickrnt.exe: imports ADVAPI32.dll!RegisterServiceCtrlHandlerExA, which Windows NT4 lacks "
              "(first in 2000)"]),
            ("a function nobody looked up", "tickr.exe", [("KERNEL32.dll", "GetTickCount")],
             ["tickr.exe: imports KERNEL32.dll!GetTickCount, which is not in the baseline"]),
            ("an import by ordinal", "tickr.exe", [("COMCTL32.DLL", "#17")],
             ["tickr.exe: imports COMCTL32.DLL!#17, which is not in the baseline"]),
            ("a program without targets", "other.exe", [],
             ["other.exe: no target systems for this program in the baseline"]),
        ]
        for name, program, imports, expected in cases:
            with self.subTest(name):
                self.assertEqual(expected, check.check_imports(program, imports, BASELINE))

    def test_baseline_mistakes_are_named_with_their_line(self):
        for text, message in [
            ("KERNEL32.dll!Sleep 95 NT3.1 SDK\nKERNEL32.dll!Sleep 95 NT3.1 SDK", "b:2: KERNEL32.dll!Sleep is listed twice"),
            ("KERNEL32.dll!Sleep 96 NT3.1 SDK", "b:1: unknown system '96'"),
            ("KERNEL32.dll!Sleep 95 NT3.1", "b:1: 'DLL!FUNCTION 9X NT SOURCE' expected"),
            ("target kzo.exe 95", "b:1: 'target PROGRAM 9X NT' expected"),
        ]:
            with self.subTest(text):
                with self.assertRaises(check.BaselineError) as raised:
                    check.Baseline.parse(text, "b")
                self.assertTrue(str(raised.exception).startswith(message), str(raised.exception))

    def test_the_committed_baseline_reads_and_names_every_shipped_program(self):
        with open(os.path.join(HERE, "win32-baseline.txt"), encoding="utf-8") as f:
            baseline = check.Baseline.parse(f.read())
        for program in ["kzo.exe", "tickr.exe", "tickrnt.exe", "setup.exe", "remover.exe", "kill.exe"]:
            self.assertIn(program, baseline.targets)
        self.assertEqual([], check.check_imports("setup.exe", [("COMCTL32.DLL", "PropertySheetA")], baseline))
        self.assertNotEqual([], check.check_imports("setup.exe", [("COMCTL32.DLL", "InitCommonControlsEx")],
                                                    baseline))


def pe_image(machine=0x14C, plus=False, subsystem=(4, 0), os_version=(4, 0), imports=()):
    """A PE image with one section holding the import table of imports, a list
    of (dll, [function name or ordinal number])."""
    section_rva, section_raw = 0x1000, 0x200
    thunk = "<Q" if plus else "<I"
    ordinal_flag = (1 << 63) if plus else (1 << 31)
    size = struct.calcsize(thunk)
    # Layout inside the section: descriptors, then per DLL its lookup table,
    # then every name.
    descriptors = 20 * (len(imports) + 1)
    tables, names = [], b""
    offset = descriptors
    for _, functions in imports:
        tables.append(offset)
        offset += size * (len(functions) + 1)
    names_start = offset
    body_descriptors, body_tables = b"", b""
    for (dll, functions), table in zip(imports, tables):
        entries = b""
        for function in functions:
            if isinstance(function, int):
                entries += struct.pack(thunk, ordinal_flag | function)
            else:
                entries += struct.pack(thunk, section_rva + names_start + len(names))
                names += struct.pack("<H", 0) + function.encode() + b"\0"
        body_tables += entries + struct.pack(thunk, 0)
        dll_rva = section_rva + names_start + len(names)
        names += dll.encode() + b"\0"
        body_descriptors += struct.pack("<IIIII", section_rva + table, 0, 0, dll_rva, section_rva + table)
    section = body_descriptors + b"\0" * 20 + body_tables + names
    optional_size = 224 if not plus else 240
    pe = 0x40
    header = bytearray(section_raw)
    header[0:2] = b"MZ"
    struct.pack_into("<I", header, 0x3C, pe)
    header[pe:pe + 4] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", header, pe + 4, machine, 1, 0, 0, 0, optional_size, 0x102)
    optional = pe + 24
    struct.pack_into("<H", header, optional, 0x20B if plus else 0x10B)
    struct.pack_into("<HH", header, optional + 40, *os_version)
    struct.pack_into("<HH", header, optional + 48, *subsystem)
    directories = optional + (112 if plus else 96)
    struct.pack_into("<II", header, directories + 8, section_rva if imports else 0, len(section))
    struct.pack_into("<8sIIII", header, optional + optional_size, b".idata", len(section), section_rva,
                     len(section), section_raw)
    return bytes(header) + section


class Images(unittest.TestCase):
    def test_the_import_table_is_read_whole(self):
        image = check.read_image(pe_image(imports=[("KERNEL32.dll", ["CloseHandle", "Sleep"]),
                                                   ("COMCTL32.DLL", [17])]))
        self.assertEqual([("KERNEL32.dll", "CloseHandle"), ("KERNEL32.dll", "Sleep"), ("COMCTL32.DLL", "#17")],
                         image.imports)

    def test_kind_and_versions_of_the_image(self):
        baseline = check.Baseline.parse("target tickr.exe 95 NT4\nKERNEL32.dll!CloseHandle 95 NT3.1 SDK")
        ok = [("KERNEL32.dll", ["CloseHandle"])]
        cases = [
            ("a Windows 95 program", pe_image(imports=ok), []),
            ("a 64-bit image", pe_image(machine=0x8664, plus=True, subsystem=(5, 2), imports=ok),
             ["tickr.exe: not a PE32 i386 image (machine 0x8664, optional header 0x20b): the release is 32-bit"]),
            ("subsystem 5.1", pe_image(subsystem=(5, 1), imports=ok),
             ["tickr.exe: subsystem version 5.1, not 4.0: Windows 95 and NT 4.0 refuse it"]),
            ("a missing import counts as well", pe_image(imports=[("KERNEL32.dll", ["GetTickCount64"])]),
             ["tickr.exe: imports KERNEL32.dll!GetTickCount64, which is not in the baseline"]),
        ]
        for name, data, expected in cases:
            with self.subTest(name):
                self.assertEqual(expected, check.check_image("tickr.exe", check.read_image(data), baseline))

    def test_damaged_files_are_refused_by_name(self):
        good = pe_image(imports=[("KERNEL32.dll", ["CloseHandle"])])
        for name, data, message in [
            ("not a program", b"#!/bin/sh\n", "not a Windows program (no MZ header)"),
            ("cut in its headers", good[:0x60], "the file ends inside its headers"),
            ("cut in its import names", good[:-4], "a name runs past the end of the file"),
        ]:
            with self.subTest(name):
                with self.assertRaises(check.ImageError) as raised:
                    check.read_image(data)
                self.assertEqual(message, str(raised.exception))


if __name__ == "__main__":
    unittest.main()
