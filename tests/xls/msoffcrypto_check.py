"""Files we encrypt are decrypted by msoffcrypto to the same Workbook stream as the originals.

usage: msoffcrypto_check.py XLS_REENCRYPT FIXTURES_DIR SCRATCH_DIR
"""
import io
import os
import struct
import subprocess
import sys

import msoffcrypto
import olefile

PASSWORD = "TRVX5093MQP"
FIXTURES = ["small_enc.xls", "small_rc4_1.1.xls", "small_cryptoapi_2.2_128bit.xls",
            "small_cryptoapi_3.2_128bit.xls", "small_cryptoapi_4.2_128bit.xls",
            "small_cryptoapi_4.2_40bit.xls"]


def decrypted_workbook(path):
    out = io.BytesIO()
    with open(path, "rb") as f:
        office = msoffcrypto.OfficeFile(f)
        office.load_key(password=PASSWORD)
        office.decrypt(out)
    out.seek(0)
    with olefile.OleFileIO(out) as ole:
        return ole.openstream("Workbook").read()


def filepass(path):
    with olefile.OleFileIO(path) as ole:
        stream = ole.openstream("Workbook").read()
    pos = 0
    while pos + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, pos)
        if kind == 0x002F:
            return stream[pos + 4:pos + 4 + length]
        pos += 4 + length
    raise ValueError(f"{path}: no FILEPASS")


def main():
    tool, fixtures, scratch = sys.argv[1:4]
    failures = 0
    for name in FIXTURES:
        source = os.path.join(fixtures, name)
        target = os.path.join(scratch, "ours_" + name)
        subprocess.run([tool, source, PASSWORD, target], check=True)
        old, new = filepass(source), filepass(target)
        major, minor = struct.unpack_from("<HH", new, 2)
        expected = (1, 1) if name.startswith(("small_enc", "small_rc4")) else (4, 2)
        salt_at = 6 if expected == (1, 1) else 144
        problems = []
        if (major, minor) != expected:
            problems.append(f"version {major}.{minor}, expected {expected[0]}.{expected[1]}")
        if expected == (4, 2) and struct.unpack_from("<I", new, 30)[0] != 128:
            problems.append("key size is not 128 bits")
        if old[salt_at:salt_at + 16] == new[salt_at:salt_at + 16]:
            problems.append("salt not renewed")
        if decrypted_workbook(target) != decrypted_workbook(source):
            problems.append("msoffcrypto decrypts a different Workbook stream")
        print(f"{name}: {'; '.join(problems) or 'ok'}")
        failures += bool(problems)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
