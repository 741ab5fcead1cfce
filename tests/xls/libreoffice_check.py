"""CryptoAPI files saved by the engine (as version 4.2, 128-bit) open in LibreOffice, which
refuses the 2.2 and 40-bit files they were read from.

usage: libreoffice_check.py XLS_RESAVE ORACLE FIXTURES_DIR SCRATCH_DIR
"""
import json, os, subprocess, sys

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
        problems = [f"LibreOffice did not open it: {run.stderr.strip()}"] if run.returncode else []
        if not problems:
            dump = json.loads(run.stdout)
            enc = dump["encryption"]
            found = ((enc.get("type"), enc.get("version"), enc.get("key_bits")), dump["sheet_names"],
                     dump["sheets"]["Velmoro"]["cells"].get("C3", {}).get("value"))
            expected = (("rc4_cryptoapi", "4.2", 128), ["Velmoro", "Other"], "Bianchi S.p.A. – Perù “quoted” €")
            problems = [f"found {found}"] if found != expected else []
        print(f"{name}: {'; '.join(problems) or 'ok'}")
        failures += bool(problems)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
