#!/usr/bin/env python3
"""Checks that a program imports only Windows' known DLLs (one name a line in
resources/known_dlls.txt). Windows looks for any other imported DLL in the
program's own folder first, before the program's first line runs, so a DLL
downloaded beside it would be loaded. A delay-loaded DLL is no better: the
helper loads it by name at its first call. On a problem it prints one line
per DLL naming the program, removes the program (so that no later step takes
it) and exits 1.

Delay-load descriptors are found by their structure, not by symbols (the
shipped programs are stripped) nor by the DLL name's ending (.drv, .ocx or
none load as well): GNU ld leaves the delay-import directory empty for
dlltool's delay libraries. A program whose delay-load data cannot be read,
or that has delay-load code that no readable descriptor serves, is refused.
Reads PE32 and PE32+.

Usage: check_imports.py OBJDUMP KNOWN_DLLS PROGRAM
"""
import os
import struct
import subprocess
import sys

DELAY_IMPORT_DIRECTORY = 13
DELAY_HELPER = "__delayLoadHelper2"
DESCRIPTOR_SIZE = 32
RVA_ATTRIBUTE = 1            # dlattrRva: the descriptor holds RVAs, not addresses
MAX_NAMES = 65536            # more functions of one DLL than any program imports
SCN_EXECUTE, SCN_WRITE = 0x20000000, 0x80000000
UNREADABLE = "(unreadable name)"


def known_dlls(path):
    with open(path, encoding="utf-8") as f:
        return {line.strip().lower() for line in f
                if line.strip() and not line.lstrip().startswith("#")}


def imported_dlls(objdump, program):
    """Every DLL of the import table, as objdump names them."""
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    return {line.split("DLL Name:", 1)[1].strip().lower()
            for line in dump.splitlines() if "DLL Name:" in line}


def links_delay_helper(objdump, program):
    """Whether the symbol table (absent from a stripped program) names the helper."""
    dump = subprocess.run([objdump, "-t", program], capture_output=True, text=True).stdout
    return DELAY_HELPER in dump


class Image:
    def __init__(self, data):
        self.data = data
        header = struct.unpack_from("<I", data, 0x3C)[0]
        sections, optional_size = struct.unpack_from("<H12xH", data, header + 6)
        optional = header + 24
        self.pe32 = struct.unpack_from("<H", data, optional)[0] == 0x10B
        self.pointer = "<I" if self.pe32 else "<Q"
        self.pointer_size = 4 if self.pe32 else 8
        self.base = struct.unpack_from(self.pointer, data, optional + (28 if self.pe32 else 24))[0]
        directories = optional + (96 if self.pe32 else 112)
        self.delay_directory = struct.unpack_from("<II", data,
                                                  directories + 8 * DELAY_IMPORT_DIRECTORY)
        # (rva, virtual size, raw size, raw offset, characteristics) of each section
        self.sections = []
        for i in range(sections):
            virtual_size, va, raw_size, raw = struct.unpack_from(
                "<8xIIII", data, optional + optional_size + 40 * i)
            flags = struct.unpack_from("<I", data, optional + optional_size + 40 * i + 36)[0]
            raw_size = min(raw_size, max(0, len(data) - raw))
            self.sections.append((va, max(virtual_size, raw_size), raw_size, raw, flags))

    def section(self, rva):
        for section in self.sections:
            if section[0] <= rva < section[0] + section[1]:
                return section
        return None

    def offset(self, rva):
        """The file offset of `rva`, or None where the file holds no byte of it."""
        section = self.section(rva)
        if section is None or rva >= section[0] + section[2]:
            return None
        return section[3] + rva - section[0]

    def flags(self, rva):
        section = self.section(rva)
        return section[4] if section else 0

    def dll_name(self, rva):
        at = self.offset(rva)
        if at is None:
            return None
        name = self.data[at:at + 260].split(b"\0", 1)
        if len(name) < 2 or not name[0] or any(b < 0x21 or b > 0x7E for b in name[0]):
            return None
        return name[0].decode("ascii").lower()

    def pointer_at(self, rva):
        at = self.offset(rva)
        if at is None or at + self.pointer_size > len(self.data):
            return None
        return struct.unpack_from(self.pointer, self.data, at)[0]

    def names_table(self, rva):
        """The number of entries of the import name table at `rva`: each an
        ordinal or the RVA of a hint and a printable name, then a zero. None
        where it is not one."""
        ordinal = 1 << (8 * self.pointer_size - 1)
        for count in range(MAX_NAMES):
            entry = self.pointer_at(rva + count * self.pointer_size)
            if entry is None:
                return None
            if entry == 0:
                return count or None
            if entry & ordinal:
                continue
            if entry >= 1 << 31 or self.dll_name(entry + 2) is None:
                return None
        return None


class Descriptor:
    """One ImgDelayDescr: attributes, DLL name, module handle, IAT, INT, bound
    IAT, unload IAT, time stamp; the fields as RVAs."""

    def __init__(self, image, at):
        fields = struct.unpack_from("<8I", image.data, at)
        self.attributes = fields[0]
        rvas = list(fields[1:7])
        if not self.attributes & RVA_ATTRIBUTE:
            # Old-style descriptors hold 32-bit addresses.
            rvas = [field - image.base if field >= image.base else 0 for field in rvas]
        self.name, self.module, self.iat, self.int, self.bound, self.unload = rvas
        self.entries = image.names_table(self.int) if self.int else None

    def readable(self, image):
        """Whether the helper could use it: the module handle and the IAT
        writable, the IAT and the name table in the file, the optional tables
        in the image."""
        return (self.entries is not None
                and image.flags(self.module) & SCN_WRITE != 0
                and image.flags(self.iat) & SCN_WRITE != 0
                and image.offset(self.iat) is not None
                and all(rva == 0 or image.section(rva) for rva in (self.bound, self.unload)))

    def serves(self, image, slot):
        return self.iat <= slot < self.iat + self.entries * image.pointer_size


def directory_descriptors(image):
    """The descriptors of the delay-import directory; None where it names data
    outside the file or ends without the empty descriptor."""
    rva, _ = image.delay_directory
    found = []
    while True:
        at = image.offset(rva)
        if at is None or at + DESCRIPTOR_SIZE > len(image.data):
            return None
        if not any(image.data[at:at + DESCRIPTOR_SIZE]):
            return found
        found.append(Descriptor(image, at))
        rva += DESCRIPTOR_SIZE


def scanned_descriptors(image):
    """Every descriptor of RVAs anywhere in the file, by its structure: its
    fields point inside the image and its name table at hint/name records."""
    found = []
    data = image.data
    pattern = struct.pack("<I", RVA_ATTRIBUTE)
    for _, _, raw_size, raw, _ in image.sections:
        end = raw + raw_size - DESCRIPTOR_SIZE
        at = data.find(pattern, raw, end + 4)
        while at != -1:
            if (at - raw) % 4 == 0:
                name, module, iat, names = struct.unpack_from("<4I", data, at + 4)
                if (name and module and iat and names
                        and all(image.section(rva) for rva in (name, module, iat, names))):
                    descriptor = Descriptor(image, at)
                    if descriptor.readable(image):
                        found.append(descriptor)
            at = data.find(pattern, at + 1, end + 4)
    return found


def delay_thunks(image):
    """RVAs of the pointer slots that delay-load code fills: each slot starts
    out pointing at code that loads the slot's own address and jumps to the
    helper's tail (mov eax / lea rax, then jmp; or push ecx, push edx, push),
    as dlltool and LLD make them."""
    slots = []
    size = image.pointer_size
    for va, _, raw_size, raw, flags in image.sections:
        if not flags & SCN_WRITE:
            continue
        for delta in range(0, raw_size - size + 1, size):
            target = struct.unpack_from(image.pointer, image.data, raw + delta)[0] - image.base
            slot = va + delta
            if not 0 <= target < 1 << 31 or not image.flags(target) & SCN_EXECUTE:
                continue
            at = image.offset(target)
            if at is None:
                continue
            code = image.data[at:at + 8]
            if len(code) < 8:
                continue
            if image.pe32:
                address = image.base + slot
                loads = ((code[0] == 0xB8 and code[5] == 0xE9
                          and struct.unpack_from("<I", code, 1)[0] == address)
                         or (code[:3] == b"\x51\x52\x68"
                             and struct.unpack_from("<I", code, 3)[0] == address))
            else:
                loads = (code[:3] == b"\x48\x8d\x05" and code[7] == 0xE9
                         and target + 7 + struct.unpack_from("<i", code, 3)[0] == slot)
            if loads:
                slots.append(slot)
    return slots


def delay_problems(image, name):
    """The delay-loaded DLL names (UNREADABLE for a name that cannot be read),
    every descriptor found, and lines for delay-load data that cannot be read."""
    problems = []
    descriptors = []
    if image.delay_directory[0]:
        listed = directory_descriptors(image)
        if listed is None:
            problems.append("%s has a delay-import directory that cannot be read" % name)
        else:
            descriptors += listed
    descriptors += scanned_descriptors(image)
    names = set()
    for descriptor in descriptors:
        names.add(image.dll_name(descriptor.name) or UNREADABLE)
    usable = [d for d in descriptors if d.readable(image)]
    for slot in delay_thunks(image):
        if not any(d.serves(image, slot) for d in usable):
            problems.append("%s has delay-load code for the slot at RVA 0x%X that no readable "
                            "delay-load descriptor serves" % (name, slot))
    return names, descriptors, problems


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    objdump, known_path, program = argv[1:]
    known = known_dlls(known_path)
    with open(program, "rb") as f:
        image = Image(f.read())
    name = os.path.basename(program)
    delayed, descriptors, problems = delay_problems(image, name)
    for dll in sorted(imported_dlls(objdump, program) | delayed):
        if dll not in known:
            problems.append("%s %s %s, which is not one of Windows' known DLLs (%s): "
                            "load it at run time from the system folder"
                            % (name, "delay-loads" if dll in delayed else "imports", dll,
                               os.path.basename(known_path)))
    if not descriptors and links_delay_helper(objdump, program):
        problems.append("%s links %s but has no delay-load descriptor to check"
                        % (name, DELAY_HELPER))
    for problem in problems:
        print("error: " + problem, file=sys.stderr)
    if problems:
        os.remove(program)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
