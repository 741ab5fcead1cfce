"""Files we encrypt are decrypted by msoffcrypto to the same Workbook stream as the originals.

usage: msoffcrypto_check.py XLS_REENCRYPT FIXTURES_DIR SCRATCH_DIR
"""
import io, os, struct, subprocess, sys

import msoffcrypto
import olefile

PASSWORD = "TRVX5093MQP"
RC4 = ["small_enc.xls", "small_rc4_1.1.xls"]
CRYPTOAPI = ["small_cryptoapi_2.2_128bit.xls", "small_cryptoapi_3.2_128bit.xls",
             "small_cryptoapi_4.2_128bit.xls", "small_cryptoapi_4.2_40bit.xls"]


def decrypted_workbook(path):
    out = io.BytesIO()
    with open(path, "rb") as f:
        office = msoffcrypto.OfficeFile(f)
        office.load_key(password=PASSWORD)
        office.decrypt(out)
    with olefile.OleFileIO(io.BytesIO(out.getvalue())) as ole:
        return ole.openstream("Workbook").read()


def filepass(path):
    with olefile.OleFileIO(path) as ole:
        stream = ole.openstream("Workbook").read()
    pos = 0
    while struct.unpack_from("<H", stream, pos)[0] != 0x002F:
        pos += 4 + struct.unpack_from("<H", stream, pos + 2)[0]
    return stream[pos + 4:pos + 4 + struct.unpack_from("<H", stream, pos + 2)[0]]


def main():
    tool, fixtures, scratch = sys.argv[1:4]
    failures = 0
    for name in RC4 + CRYPTOAPI:
        source, target = os.path.join(fixtures, name), os.path.join(scratch, "ours_" + name)
        subprocess.run([tool, source, PASSWORD, target], check=True)
        old, new = filepass(source), filepass(target)
        # (major, minor, key bits) as we save them; where the salt is
        expected, salt_at = ((1, 1, 40), 6) if name in RC4 else ((4, 2, 128), 144)
        found = struct.unpack_from("<HH", new, 2) + ((40,) if name in RC4 else struct.unpack_from("<I", new, 30))
        problems = [f"saved as {found}"] if found != expected else []
        if old[salt_at:salt_at + 16] == new[salt_at:salt_at + 16]:
            problems.append("salt not renewed")
        if decrypted_workbook(target) != decrypted_workbook(source):
            problems.append("msoffcrypto decrypts a different Workbook stream")
        print(f"{name}: {'; '.join(problems) or 'ok'}")
        failures += bool(problems)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
