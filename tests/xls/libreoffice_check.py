"""CryptoAPI files saved by the engine (as version 4.2, 128-bit) open in LibreOffice, which
refuses the 2.2 and 40-bit files they were read from.

usage: libreoffice_check.py XLS_RESAVE ORACLE FIXTURES_DIR SCRATCH_DIR
"""
import json
import os
import subprocess
import sys

PASSWORD = "TRVX5093MQP"
FIXTURES = ["small_cryptoapi_2.2_128bit.xls", "small_cryptoapi_4.2_40bit.xls"]


def main():
    tool, oracle, fixtures, scratch = sys.argv[1:5]
    failures = 0
    for name in FIXTURES:
        target = os.path.join(scratch, "resaved_" + name)
        subprocess.run([tool, os.path.join(fixtures, name), PASSWORD, target], check=True)
        run = subprocess.run(["/usr/bin/python3", oracle, "dump", target, "--password", PASSWORD, "--compact"],
                             capture_output=True, text=True, timeout=300)
        problems = []
        if run.returncode != 0:
            problems.append(f"LibreOffice did not open it: {run.stderr.strip()}")
        else:
            dump = json.loads(run.stdout)
            enc = dump["encryption"]
            if (enc.get("type"), enc.get("version"), enc.get("key_bits")) != ("rc4_cryptoapi", "4.2", 128):
                problems.append(f"saved as {enc}")
            if dump["sheet_names"] != ["Velmoro", "Other"]:
                problems.append(f"sheets {dump['sheet_names']}")
            cell = dump["sheets"]["Velmoro"]["cells"].get("C3", {}).get("value")
            if cell != "Bianchi S.p.A. – Perù “quoted” €":
                problems.append(f"C3 reads {cell!r}")
        print(f"{name}: {'; '.join(problems) or 'ok'}")
        failures += bool(problems)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
