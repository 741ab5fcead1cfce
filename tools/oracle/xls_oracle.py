#!/usr/bin/python3
"""LibreOffice as an independent reader and writer of .xls files, for tests and benchmarks.

  xls_oracle.py make OUT.xls --json CELLS.json [--password P] [--quiet]
  xls_oracle.py dump IN.xls [--password P] [--engine lo|xlrd] [--compact]
  xls_oracle.py resave IN.xls OUT.xls [--password P]
  xls_oracle.py pagebreaks IN.xls --sheet NAME [--password P]
  xls_oracle.py csvdump IN.csv [--locale L]

CELLS.json for make: {"sheets": {"Velmoro": {"A1": "ID", "IV1": 41,
  "D2": {"date": "2026-12-05"}, "Q2": {"number": 1.5, "format": "0.00"}, "F2": {"text": "00184"}}},
  "text_columns": {"Velmoro": ["I", "R"]}, "freeze_row": {"Velmoro": 1}}
Plain strings are always stored as texts, plain numbers as numbers.

dump prints {"encryption", "sheet_names", "sheets": {name: {"cells": {"A1": {"type", "value",
"format"[, "formula"]}}, "column_formats": {"I": "@"}, "frozen": {"rows", "cols"} or null}}};
with the lo engine each sheet also has "default_column_width" (points, the width most columns
have) and "column_widths" ({"B": points} for the columns of another width).
resave prints the load and save times in seconds. pagebreaks prints the rows (1-based) that
start a page inside the print area (else the used area), as LibreOffice paginates
the sheet with its own page setup. csvdump opens a CSV as a user does (a double-click, or
File > Open, then OK in the text import window of a fresh profile) and again with "Evaluate
formulas" ticked, and prints {"dialog_defaults": {"A1": text shown, ...}, "evaluate_formulas":
{...}}; LibreOffice runs in the locale L (default it_IT.UTF-8, as an Italian user's).

Run it with Debian's /usr/bin/python3 (python3-uno). Exit codes: 0 done, 2 bad input (missing
file, wrong password, bad JSON), 1 LibreOffice failed or timed out.
"""

import argparse
import contextlib
import datetime as dt
import fcntl
import io
import json
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time

import uno
from com.sun.star.beans import PropertyValue

LAST_ROW = 65535                     # 0-based, the classic grid
DATE_FORMAT = "DD/MM/YYYY"
CONTENT = 1 | 2 | 4 | 16             # values, dates, strings, formulas (sheet.CellFlags)
FORMULA = 16
DATE_TYPE = 2                        # util.NumberFormat.DATE


class InputError(Exception):
    """The caller's input is wrong: exit code 2."""


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def column_name(index):
    name = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        name = chr(65 + rest) + name
    return name


def cell_position(address):
    match = re.fullmatch(r"([A-Z]{1,2})([1-9][0-9]{0,4})", address)
    if not match:
        raise InputError(f"bad cell address {address!r}")
    column = 0
    for letter in match.group(1):
        column = column * 26 + ord(letter) - 64
    row = int(match.group(2))
    if column > 256 or row > LAST_ROW + 1:
        raise InputError(f"{address} is outside A1:IV65536")
    return column - 1, row - 1


def whole(number):
    return int(number) if float(number).is_integer() else number


def iso_date(serial, epoch):
    moment = epoch + dt.timedelta(days=serial)
    moment = moment.replace(microsecond=0) + dt.timedelta(seconds=round(moment.microsecond / 1e6))
    return moment.date().isoformat() if moment.time() == dt.time(0) else moment.isoformat()


# --- the file's encryption, read without LibreOffice ----------------------------------------

def encryption(path):
    """The FILEPASS record after the first BOF, or None for a file in clear."""
    import olefile
    if not olefile.isOleFile(path):
        raise InputError(f"{path}: not an .xls file (no OLE2 container)")
    with olefile.OleFileIO(path) as ole:
        if not ole.exists("Workbook"):
            raise InputError(f"{path}: no Workbook stream")
        head = ole.openstream("Workbook").read(1024)
    _, bof_size = struct.unpack_from("<HH", head, 0)
    kind, size = struct.unpack_from("<HH", head, 4 + bof_size)
    if kind != 0x002F:
        return None
    body = head[8 + bof_size:8 + bof_size + size]
    if struct.unpack_from("<H", body)[0] == 0:
        return {"type": "xor"}
    major, minor = struct.unpack_from("<HH", body, 2)
    if (major, minor) == (1, 1):
        return {"type": "rc4", "version": "1.1"}
    header = body[14:]
    bits = struct.unpack_from("<I", header, 16)[0] or 40
    return {"type": "rc4_cryptoapi", "version": f"{major}.{minor}", "key_bits": bits}


def check_password(path, password):
    """LibreOffice says nothing useful on a wrong password, so ask msoffcrypto first."""
    if not os.path.isfile(path):
        raise InputError(f"{path}: no such file")
    scheme = encryption(path)
    if scheme is None:
        return None
    if password is None:
        raise InputError(f"{path} is encrypted; --password is required")
    import msoffcrypto
    from msoffcrypto.exceptions import InvalidKeyError
    with open(path, "rb") as f:
        try:
            msoffcrypto.OfficeFile(f).load_key(password=password)
        except InvalidKeyError:
            raise InputError(f"{path}: wrong password") from None
    return scheme


# --- one private LibreOffice per call --------------------------------------------------------

class Office:
    """A headless soffice on a private profile and pipe; killed with its process group on timeout."""

    def __init__(self, timeout, locale=None):
        self.locale = locale
        self.profile = os.path.join(tempfile.gettempdir(), f"velmoro-oracle-{os.getuid()}")
        self.pipe = f"velmoro_oracle_{os.getpid()}"
        self.timeout = timeout
        self.expired = False

    def __enter__(self):
        # Calls sharing the profile take turns.
        self.lock = open(self.profile + ".lock", "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        self.scratch = tempfile.mkdtemp(prefix="velmoro-oracle-")
        self.process = subprocess.Popen(
            ["soffice", "-env:UserInstallation=" + uno.systemPathToFileUrl(self.profile),
             "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
             f"--accept=pipe,name={self.pipe};urp;"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=dict(os.environ, TMPDIR=self.scratch, **({"LANG": self.locale, "LC_ALL": self.locale} if self.locale else {})),
            start_new_session=True)
        self.watchdog = threading.Timer(self.timeout, self.expire)
        self.watchdog.daemon = True
        self.watchdog.start()
        try:
            self.desktop = self.connect()
        except BaseException:
            self.close()
            raise
        return self

    def connect(self):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        url = f"uno:pipe,name={self.pipe};urp;StarOffice.ComponentContext"
        while True:
            try:
                context = resolver.resolve(url)
                return context.ServiceManager.createInstanceWithContext(
                    "com.sun.star.frame.Desktop", context)
            except Exception:
                if self.process.poll() is not None:
                    raise RuntimeError("soffice ended before accepting a connection")
                time.sleep(0.1)

    def expire(self):
        self.expired = True
        with contextlib.suppress(ProcessLookupError):
            os.killpg(self.process.pid, signal.SIGKILL)

    def close(self):
        self.watchdog.cancel()
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.expire()
            self.process.wait()
        with contextlib.suppress(OSError):
            os.unlink(f"/tmp/OSL_PIPE_{os.getuid()}_{self.pipe}")
        shutil.rmtree(self.scratch, ignore_errors=True)
        self.lock.close()

    def __exit__(self, kind, error, trace):
        if not self.expired:
            with contextlib.suppress(Exception):
                self.desktop.terminate()
        self.close()
        if error is not None and self.expired:
            raise TimeoutError(f"LibreOffice took more than {self.timeout} s") from error
        return False

    def load(self, path, password=None, read_only=True):
        args = [prop("Hidden", True), prop("ReadOnly", read_only)]
        if password is not None:
            args.append(prop("Password", password))
        doc = self.desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(os.path.abspath(path)), "_blank", 0, tuple(args))
        if doc is None:
            raise InputError(f"{path}: LibreOffice cannot load it")
        return doc

    @staticmethod
    def store(doc, path, password=None):
        args = [prop("FilterName", "MS Excel 97"), prop("Overwrite", True)]
        if password:
            args.append(prop("Password", password))
        doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)), tuple(args))


# --- make ------------------------------------------------------------------------------------

def template(path, names, frozen):
    """Sheets and frozen rows come from an xlwt file: headless LibreOffice cannot freeze panes."""
    import xlwt
    book = xlwt.Workbook(encoding="utf-8")
    for name in names:
        sheet = book.add_sheet(name, cell_overwrite_ok=True)
        rows = int(frozen.get(name, 0))
        if rows:
            sheet.panes_frozen = True
            sheet.horz_split_pos = rows
            sheet.horz_split_first_visible = rows
            sheet.remove_splits = True
    book.save(path)


def format_key(doc, code):
    formats = doc.NumberFormats
    locale = uno.createUnoStruct("com.sun.star.lang.Locale")
    key = formats.queryKey(code, locale, False)
    return key if key != -1 else formats.addNew(code, locale)


def column_runs(cells):
    """Vertical runs of consecutive rows per column: one setDataArray each."""
    runs = []
    for column in sorted({c for c, _ in cells}):
        rows = sorted(r for c, r in cells if c == column)
        start = previous = rows[0]
        for row in rows[1:] + [None]:
            if row is None or row != previous + 1:
                runs.append((column, start, previous))
                start = row
            previous = row
    return runs


def fill(doc, sheet, cells, text_columns):
    """Plain values in bulk; LibreOffice gives number-like texts an "@" format of their own,
    so each run gets its column's format back. Formatted values one by one."""
    plain, special = {}, []
    for address, value in cells.items():
        position = cell_position(address)
        if isinstance(value, dict):
            special.append((position, value))
        elif isinstance(value, (str, int, float)) and not isinstance(value, bool):
            plain[position] = value if isinstance(value, str) else float(value)
        else:
            raise InputError(f"{address}: unsupported value {value!r}")
    text_key = format_key(doc, "@")
    for column, first, last in column_runs(plain) if plain else []:
        block = sheet.getCellRangeByPosition(column, first, column, last)
        block.setDataArray(tuple((plain[(column, row)],) for row in range(first, last + 1)))
        block.NumberFormat = text_key if column in text_columns else 0
    epoch = dt.date(doc.NullDate.Year, doc.NullDate.Month, doc.NullDate.Day)
    for (column, row), value in special:
        cell = sheet.getCellByPosition(column, row)
        code = value.get("format")
        if "date" in value:
            cell.Value = float((dt.date.fromisoformat(value["date"]) - epoch).days)
            code = code or DATE_FORMAT
        elif "number" in value:
            cell.Value = float(value["number"])
        else:
            cell.String = str(value["text"])
        if code:
            cell.NumberFormat = format_key(doc, code)


def make(args):
    try:
        with open(args.json, encoding="utf-8") as f:
            description = json.load(f)
    except (OSError, ValueError) as e:
        raise InputError(f"{args.json}: {e}") from None
    sheets = description.get("sheets") or {}
    if not sheets:
        raise InputError("the description has no sheets")
    text_columns = {name: {cell_position(letter + "1")[0] for letter in letters}
                    for name, letters in description.get("text_columns", {}).items()}
    with tempfile.TemporaryDirectory() as scratch, Office(args.timeout) as office:
        start = os.path.join(scratch, "template.xls")
        template(start, list(sheets), description.get("freeze_row", {}))
        doc = office.load(start, read_only=False)
        try:
            for name, cells in sheets.items():
                sheet = doc.Sheets.getByName(name)
                for column in text_columns.get(name, ()):
                    sheet.Columns.getByIndex(column).NumberFormat = format_key(doc, "@")
                fill(doc, sheet, cells, text_columns.get(name, set()))
            office.store(doc, args.out, args.password)
        finally:
            doc.close(True)
    report = {"out": args.out, "bytes": os.path.getsize(args.out)}
    print(json.dumps(report), file=sys.stderr if args.quiet else sys.stdout)


# --- dump ------------------------------------------------------------------------------------

def sheet_cells_lo(doc, sheet):
    formats, known = doc.NumberFormats, {}

    def described(key):
        if key not in known:
            entry = formats.getByKey(key)
            known[key] = (entry.FormatString, bool(entry.Type & DATE_TYPE))
        return known[key]

    ranges = [(f.RangeAddress, f.NumberFormat) for f in sheet.CellFormatRanges]

    def key_at(column, row):
        for a, key in ranges:
            if a.StartColumn <= column <= a.EndColumn and a.StartRow <= row <= a.EndRow:
                return key
        return 0

    formulas = set()
    for a in sheet.queryContentCells(FORMULA).RangeAddresses:
        formulas.update((c, r) for c in range(a.StartColumn, a.EndColumn + 1)
                        for r in range(a.StartRow, a.EndRow + 1))
    d = doc.NullDate
    epoch = dt.datetime(d.Year, d.Month, d.Day)
    cells = {}
    for a in sheet.queryContentCells(CONTENT).RangeAddresses:
        block = sheet.getCellRangeByPosition(a.StartColumn, a.StartRow, a.EndColumn, a.EndRow)
        for row, values in enumerate(block.getDataArray(), a.StartRow):
            for column, value in enumerate(values, a.StartColumn):
                code, is_date = described(key_at(column, row))
                if isinstance(value, str):
                    entry = {"type": "string", "value": value}
                elif is_date:
                    entry = {"type": "date", "value": iso_date(value, epoch)}
                else:
                    entry = {"type": "number", "value": whole(value)}
                entry["format"] = code
                if (column, row) in formulas:
                    entry["formula"] = sheet.getCellByPosition(column, row).Formula
                cells[(row, column)] = entry
    return {column_name(c) + str(r + 1): cells[(r, c)] for r, c in sorted(cells)}


def column_formats_lo(doc, sheet):
    """A column's own format shows on its last row, where no archive has cells."""
    found = {}
    for column in range(256):
        code = doc.NumberFormats.getByKey(sheet.getCellByPosition(column, LAST_ROW).NumberFormat)
        if code.FormatString != "General":
            found[column_name(column)] = code.FormatString
    return found


def column_widths_lo(sheet, spans):
    """Widths in points as LibreOffice lays the columns out: the common one, and the others.
    LibreOffice takes long over each column's width, so it is asked once per span of columns
    the file gives one width (`spans`: (first, last) pairs, 0-based) and once for the rest."""
    columns = sheet.Columns
    points = lambda column: round(columns.getByIndex(column).Width / 2540 * 72, 1)
    widths = [None] * 256
    for first, last in spans:
        width = points(first)
        widths[first:last + 1] = [width] * (last + 1 - first)
    if None in widths:
        rest = points(widths.index(None))
        widths = [rest if w is None else w for w in widths]
    common = max(set(widths), key=widths.count)
    return common, {column_name(c): w for c, w in enumerate(widths) if w != common}


def column_spans(sheet):
    """Runs of neighbouring columns that the file gives one COLINFO look, as xlrd read them."""
    spans = []
    for column, info in sorted(sheet.colinfo_map.items()):
        look = (info.width, info.hidden)
        if column >= 256:
            continue
        if spans and spans[-1][1] == column - 1 and spans[-1][2] == look:
            spans[-1][1] = column
        else:
            spans.append([column, column, look])
    return [(first, last) for first, last, _ in spans]


def xlrd_book(path, password):
    import xlrd
    data = open(path, "rb").read()
    if encryption(path) is not None:
        import msoffcrypto
        clear = io.BytesIO()
        office_file = msoffcrypto.OfficeFile(io.BytesIO(data))
        office_file.load_key(password=password)
        office_file.decrypt(clear)
        data = clear.getvalue()
    return xlrd.open_workbook(file_contents=data, formatting_info=True)


def frozen(sheet):
    if not sheet.panes_are_frozen:
        return None
    return {"rows": sheet.horz_split_pos, "cols": sheet.vert_split_pos}


def sheet_xlrd(book, sheet):
    import xlrd

    def described(xf):
        f = book.format_map[book.xf_list[xf].format_key]
        return f.format_str, f.type == xlrd.formatting.FDT

    names = {xlrd.XL_CELL_TEXT: "string", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_DATE: "date",
             xlrd.XL_CELL_BOOLEAN: "boolean", xlrd.XL_CELL_ERROR: "error", xlrd.XL_CELL_BLANK: "empty"}
    cells = {}
    for row in range(sheet.nrows):
        for column in range(sheet.ncols):
            cell = sheet.cell(row, column)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            code, is_date = described(cell.xf_index)
            kind, value = names[cell.ctype], cell.value
            if kind == "date" or (kind == "number" and is_date):
                moment = xlrd.xldate.xldate_as_datetime(value, book.datemode)
                kind = "date"
                value = moment.date().isoformat() if moment.time() == dt.time(0) else moment.isoformat()
            elif kind == "number":
                value = whole(value)
            elif kind == "empty":
                value = None
            cells[column_name(column) + str(row + 1)] = {"type": kind, "value": value, "format": code}
    formats = {column_name(c): described(info.xf_index)[0]
               for c, info in sorted(sheet.colinfo_map.items())
               if described(info.xf_index)[0] != "General"}
    return {"cells": cells, "column_formats": formats, "frozen": frozen(sheet)}


def dump(args):
    scheme = check_password(args.input, args.password)
    book = xlrd_book(args.input, args.password)
    if args.engine == "xlrd":
        sheets = {s.name: sheet_xlrd(book, s) for s in book.sheets()}
    else:
        with Office(args.timeout) as office:
            doc = office.load(args.input, args.password)
            try:
                spans = {s.name: column_spans(s) for s in book.sheets()}
                sheets = {}
                for s in doc.Sheets:
                    common, widths = column_widths_lo(s, spans.get(s.Name, []))
                    sheets[s.Name] = {"cells": sheet_cells_lo(doc, s), "column_formats": column_formats_lo(doc, s),
                                      "default_column_width": common, "column_widths": widths}
            finally:
                doc.close(True)
        # Headless LibreOffice does not report the panes it imported; the file's own records do.
        for s in book.sheets():
            if s.name in sheets:
                sheets[s.name]["frozen"] = frozen(s)
    print(json.dumps({"encryption": scheme, "sheet_names": list(sheets), "sheets": sheets},
                     ensure_ascii=False, indent=None if args.compact else 1))


# --- resave and pagebreaks -----------------------------------------------------------------------

def resave(args):
    check_password(args.input, args.password)
    with Office(args.timeout) as office:
        start = time.monotonic()
        doc = office.load(args.input, args.password)
        loaded = time.monotonic()
        try:
            office.store(doc, args.output, args.password)
            saved = time.monotonic()
        finally:
            doc.close(True)
    print(json.dumps({"load_s": round(loaded - start, 3), "save_s": round(saved - loaded, 3)}))


def pagebreaks(args):
    check_password(args.input, args.password)
    with Office(args.timeout) as office:
        doc = office.load(args.input, args.password)
        try:
            if not doc.Sheets.hasByName(args.sheet):
                raise InputError(f"{args.input}: no sheet {args.sheet!r}")
            sheet = doc.Sheets.getByName(args.sheet)
            area = printed_area(sheet)
            rows = [b.Position + 1 for b in sheet.getRowPageBreaks()
                    if area.StartRow < b.Position <= area.EndRow]
            columns = [column_name(b.Position) for b in sheet.getColumnPageBreaks()
                       if area.StartColumn < b.Position <= area.EndColumn]
            setup = page_setup(doc, sheet)
        finally:
            doc.close(True)
    print(json.dumps({"sheet": args.sheet, "row_breaks": rows, "column_breaks": columns, "setup": setup}))


def page_setup(doc, sheet):
    """The page setup as LibreOffice read it: margins in points, the print area as Excel writes it."""
    style = doc.StyleFamilies.getByName("PageStyles").getByName(sheet.PageStyle)
    areas = sheet.getPrintAreas()
    area = ""
    if areas:
        a = areas[0]
        area = (f"${column_name(a.StartColumn)}${a.StartRow + 1}:"
                f"${column_name(a.EndColumn)}${a.EndRow + 1}")
    header = style.RightPageHeaderContent  # kept: its texts live only as long as it does
    points = lambda hundredths_mm: round(hundredths_mm / 2540 * 72, 1)
    return {"print_area": area,
            "center_header": header.CenterText.getString(),
            "landscape": bool(style.IsLandscape),
            "zoom": style.PageScale,
            "margins": dict({side: points(getattr(style, side + "Margin")) for side in ("Left", "Right", "Bottom")},
                            # LibreOffice's page starts at the header; Excel's top margin is below it.
                            Header=points(style.TopMargin),
                            Top=points(style.TopMargin + (style.HeaderHeight if style.HeaderIsOn else 0)))}


def printed_area(sheet):
    """The print area, else the used area: breaks past it print nothing."""
    areas = sheet.getPrintAreas()
    if areas:
        return areas[0]
    cursor = sheet.createCursor()
    cursor.gotoEndOfUsedArea(False)
    return uno.createUnoStruct("com.sun.star.table.CellRangeAddress", sheet.RangeAddress.Sheet,
                               0, 0, cursor.RangeAddress.EndColumn, cursor.RangeAddress.EndRow)


# --- csvdump ---------------------------------------------------------------------------------

# The text import window's settings in a fresh profile (Calc's CSVImport configuration):
# comma, semicolon and tab separate, " quotes, the system's language, quoted fields and special
# numbers not treated apart, formulas not evaluated; a file with a UTF-8 byte-order mark is read
# as UTF-8. The thirteenth option is "Evaluate formulas".
CSV_DIALOG_DEFAULTS = "44/59/9,34,76,1,,0,false,false,false,false,false,false,false"
CSV_EVALUATING_FORMULAS = CSV_DIALOG_DEFAULTS.rsplit(",", 1)[0] + ",true"


def csv_cells(office, path, options):
    args = (prop("Hidden", True), prop("ReadOnly", True),
            prop("FilterName", "Text - txt - csv (StarCalc)"), prop("FilterOptions", options))
    doc = office.desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(path)), "_blank", 0, args)
    if doc is None:
        raise InputError(f"{path}: LibreOffice cannot load it")
    try:
        sheet = doc.Sheets.getByIndex(0)
        cells = {}
        for a in sheet.queryContentCells(CONTENT).RangeAddresses:
            for row in range(a.StartRow, a.EndRow + 1):
                for column in range(a.StartColumn, a.EndColumn + 1):
                    text = sheet.getCellByPosition(column, row).String
                    if text:
                        cells[(row, column)] = text
        return {column_name(c) + str(r + 1): cells[(r, c)] for r, c in sorted(cells)}
    finally:
        doc.close(True)


def csvdump(args):
    if not os.path.isfile(args.input):
        raise InputError(f"{args.input}: no such file")
    with Office(args.timeout, args.locale) as office:
        result = {"dialog_defaults": csv_cells(office, args.input, CSV_DIALOG_DEFAULTS),
                  "evaluate_formulas": csv_cells(office, args.input, CSV_EVALUATING_FORMULAS)}
    print(json.dumps(result, ensure_ascii=False, indent=None if args.compact else 1))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    common = argparse.ArgumentParser(add_help=False)
    common.add_argument("--password")
    common.add_argument("--timeout", type=float, default=300)
    commands = parser.add_subparsers(dest="command", required=True)
    p = commands.add_parser("make", parents=[common])
    p.add_argument("out")
    p.add_argument("--json", required=True)
    p.add_argument("--quiet", action="store_true")
    p.set_defaults(run=make)
    p = commands.add_parser("dump", parents=[common])
    p.add_argument("input")
    p.add_argument("--engine", choices=("lo", "xlrd"), default="lo")
    p.add_argument("--compact", action="store_true")
    p.set_defaults(run=dump)
    p = commands.add_parser("resave", parents=[common])
    p.add_argument("input")
    p.add_argument("output")
    p.set_defaults(run=resave)
    p = commands.add_parser("pagebreaks", parents=[common])
    p.add_argument("input")
    p.add_argument("--sheet", required=True)
    p.set_defaults(run=pagebreaks)
    p = commands.add_parser("csvdump", parents=[common])
    p.add_argument("input")
    p.add_argument("--locale", default="it_IT.UTF-8")
    p.add_argument("--compact", action="store_true")
    p.set_defaults(run=csvdump)
    args = parser.parse_args()
    try:
        args.run(args)
    except InputError as e:
        print(f"xls_oracle: {e}", file=sys.stderr)
        return 2
    except Exception as e:
        print(f"xls_oracle: {type(e).__name__}: {getattr(e, 'Message', e)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
