#!/usr/bin/env python3
"""Writes resources/Vargorin.db, the poem database the reader carries.

Deterministic: the same seed and the same SQLite library give the same bytes.
The file is drafted in a temporary folder, checked against every promised
property, and only then copied into place.
"""

import random
import shutil
import sqlite3
import sys
import tempfile
from pathlib import Path

# Set before the generator's own modules are imported: keeps the source
# folder free of bytecode caches.
sys.dont_write_bytecode = True

import checks
from compose import balance_median, layout, realize, text_of, tune_bytes
from plan import POEMS, SEED

TARGET = Path(__file__).resolve().parents[2] / "resources" / "Vargorin.db"

CREATE_TABLE = ('CREATE TABLE "tbl_Data" (\n\t"CIM"\tVARCHAR(400),\n\t"VERS"\tTEXT,\n'
                '\t"DATUM"\tCHAR(150),\n\t"FOTO"\tBLOB,\n'
                '\t"AZ"\tINTEGER PRIMARY KEY AUTOINCREMENT\n)')


def compose_texts():
    rng = random.Random(SEED)
    layouts = {p.key: layout(p, rng) for p in POEMS}
    # The long poem has thousands of verse lines; moving a few of them onto
    # the median width is invisible in it.
    longest = max(POEMS, key=lambda p: p.chars)
    balance_median(list(layouts.values()), layouts[longest.key], rng)
    texts = {}
    for p in POEMS:
        lines = realize(layouts[p.key], rng)
        if p.utf8_bytes:
            tune_bytes(lines, p.utf8_bytes, rng)
        texts[p.key] = text_of(lines)
    return texts


def write_database(path, texts):
    path.unlink(missing_ok=True)
    con = sqlite3.connect(path, isolation_level=None)
    try:
        for pragma in ("page_size = 4096", "auto_vacuum = NONE",
                       "journal_mode = DELETE", "encoding = 'UTF-8'"):
            con.execute("PRAGMA " + pragma)
        con.execute(CREATE_TABLE)
        con.execute("BEGIN")
        con.executemany("INSERT INTO tbl_Data (CIM, VERS, DATUM, FOTO, AZ) "
                        "VALUES (?, ?, NULL, NULL, ?)",
                        [(p.title, texts[p.key], p.key) for p in POEMS])
        con.execute("COMMIT")
        # Rebuilds the file page by page in key order, leaving no free pages.
        con.execute("VACUUM")
    finally:
        con.close()


def main():
    # Drafted outside the source tree, where the journal and a failed draft
    # can lie without anyone mistaking them for the real file.
    workdir = Path(tempfile.mkdtemp(prefix="vargorin-corpus-"))
    draft = workdir / TARGET.name
    write_database(draft, compose_texts())
    problems = checks.run(draft, CREATE_TABLE)
    if problems:
        print("\n".join(problems), file=sys.stderr)
        print(f"left the failed draft at {draft}", file=sys.stderr)
        return 1
    shutil.copyfile(draft, TARGET)
    shutil.rmtree(workdir)
    print(f"wrote {TARGET} ({TARGET.stat().st_size} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
