#!/usr/bin/env python3
"""brimlow-cli's CSV and JSON-lines output read back as a spreadsheet would:
dump --csv against the JSON dump of the same list, and summary in both forms.

Usage: csv_output_test.py BRIMLOW_CLI LANG ENCODING: brimlow-cli runs under
the locale LANG alone, and ENCODING names the code page its JSON output is
then in (utf-8 or cp1251)."""

import csv
import io
import json
import os
import subprocess
import sys
import tempfile

FIELDS = ["ID", "URL", "FileName", "State", "Size", "SaveDir", "DownloadedSize",
          "LastModified", "ResumeMode", "Date", "DownloadTime", "NodeID", "Comment",
          "ContentType", "ExtraElements"]

LIST = """<?xml version="1.0" encoding="utf-8"?>
<DownloadList Version="4" NextID="4">
<DownloadFile><ID>1</ID><URL>http://example.com/a,b?q="x"</URL>
<FileName>C:\\Загрузки\\Отчёт, итог.pdf</FileName><State>2</State><Size>2048</Size>
<Date>03/01/2008 10:00:00</Date><Comment>"в кавычках", с запятой</Comment><NodeID>5</NodeID>
<Mirror>http://mirror/a</Mirror><Mirror>http://mirror/b</Mirror></DownloadFile>
<DownloadFile><ID>2</ID><URL>HTTP://EXAMPLE.com/a,b?q="x"/</URL><State>4</State>
<Size>10</Size><Date>12/31/2009 23:00:00</Date></DownloadFile>
<DownloadFile><ID>3</ID><URL>http://example.com/other</URL><State>2</State>
<Size>100</Size><Date>01/01/2009 00:00:00</Date></DownloadFile>
</DownloadList>
"""

failures = []
# The locale brimlow-cli runs under; Python may have changed its own.
environment = dict(os.environ)


def check(condition, message):
    if not condition:
        failures.append(message)


def run(cli, *arguments):
    done = subprocess.run([cli, *arguments], capture_output=True, check=False, env=environment)
    check(done.returncode == 0, f"{arguments}: exit {done.returncode} {done.stderr!r}")
    return done.stdout


def read_csv(data):
    check(data.startswith(b"\xef\xbb\xbf"), "the CSV starts with a byte-order mark")
    text = data.decode("utf-8-sig")
    check("\r\n" in text, "rows end with CR LF")
    return list(csv.reader(io.StringIO(text, newline="")))


def json_lines(data, encoding):
    return [json.loads(line) for line in data.decode(encoding).splitlines()]


def test_dump(cli, listFile, encoding):
    rows = read_csv(run(cli, "dump", "--csv", listFile))
    check(rows[0] == FIELDS, f"the header names the fields: {rows[0]}")
    records = json_lines(run(cli, "dump", listFile), encoding)[1:]
    check(len(rows) == len(records) + 1, "one row per download")
    for row, record in zip(rows[1:], records):
        for name, value in zip(FIELDS, row):
            expected = record[name]
            if name == "ExtraElements":
                expected = "\n".join(expected)
            check(value == str(expected), f"{name}: {value!r} != {expected!r}")
    first = dict(zip(FIELDS, rows[1]))
    check(first["FileName"] == "C:\\Загрузки\\Отчёт, итог.pdf", f"Cyrillic: {first['FileName']!r}")
    check(first["URL"] == 'http://example.com/a,b?q="x"', f"quotes: {first['URL']!r}")
    check(first["Comment"] == '"в кавычках", с запятой', f"comma: {first['Comment']!r}")
    check(first["ExtraElements"] == "Mirror;http://mirror/a\nMirror;http://mirror/b",
          f"a line break inside a field: {first['ExtraElements']!r}")


def test_summary(cli, listFile, encoding):
    expected = {"year": [["2008", 1, 2048], ["2009", 2, 110]],
                "state": [["downloaded", 2, 2148], ["error", 1, 10]]}
    for by, rows in expected.items():
        lines = json_lines(run(cli, "summary", listFile, "--by", by), encoding)
        got = [[line["key"], line["count"], line["size"]] for line in lines[:-1]]
        check(got == rows, f"summary --by {by}: {got}")
        check(lines[-1] == {"total": 3, "size": 2158}, f"the total: {lines[-1]}")
        table = read_csv(run(cli, "summary", listFile, "--by", by, "--csv"))
        check(table[0] == ["key", "count", "size"], f"the CSV header: {table[0]}")
        check(table[1:] == [[k, str(c), str(s)] for k, c, s in rows] + [["(total)", "3", "2158"]],
              f"summary --by {by} --csv: {table}")


def test_usage(cli, listFile):
    for arguments in (["summary", listFile], ["summary", listFile, "--by", "week"],
                      ["dump", "--csv"], ["summary", listFile, "--by", "year", "--tsv"]):
        done = subprocess.run([cli, *arguments], capture_output=True, check=False,
                              env=environment)
        check(done.returncode == 2, f"{arguments}: a usage error, not {done.returncode}")
        check(b"brimlow-cli" in done.stderr, f"{arguments}: the message names the program")


def main():
    cli, lang, encoding = sys.argv[1], sys.argv[2], sys.argv[3]
    environment.update({"LC_ALL": "", "LC_CTYPE": "", "LANG": lang})
    with tempfile.TemporaryDirectory() as folder:
        listFile = os.path.join(folder, "list.xml")
        with open(listFile, "w", encoding="utf-8") as out:
            out.write(LIST)
        tests = [lambda: test_dump(cli, listFile, encoding),
                 lambda: test_summary(cli, listFile, encoding),
                 lambda: test_usage(cli, listFile)]
        passed = 0
        for test in tests:
            before = len(failures)
            test()
            passed += len(failures) == before
    for failure in failures:
        print("FAILED:", failure)
    print(f"{passed} passed, {len(tests) - passed} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
