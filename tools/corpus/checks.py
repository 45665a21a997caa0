"""The promises the database file keeps, checked on the written file.

The generator refuses to replace resources/Vargorin.db unless every check
here passes; the C++ test suite checks the committed file the same way.
"""

import re
import sqlite3
import statistics

from plan import FIRST_KEY, LONG_LINE, MEDIAN_LINE, PAGE_COUNT, POEMS

HEADER = {  # offset: (size, expected value)
    16: (2, 4096),       # page size
    18: (1, 1),          # write version: rollback journal
    19: (1, 1),          # read version
    20: (1, 0),          # reserved bytes per page
    28: (4, PAGE_COUNT),
    32: (4, 0),          # first free-list trunk page
    36: (4, 0),          # free-list pages
    44: (4, 4),          # schema format
    52: (4, 0),          # auto-vacuum off
    56: (4, 1),          # UTF-8
    60: (4, 0),          # user_version
    64: (4, 0),          # incremental vacuum off
    68: (4, 0),          # application_id
}

ALLOWED_BEYOND_ASCII = set("áéíóöőúüűÁÉÓÖŐÚÜŰ\u201e\u201d\u2019")
FORBIDDEN = set("%_'\"\\\r")

LAST_KEY = FIRST_KEY + len(POEMS) - 1
SEARCHES = {
    "": range(FIRST_KEY, LAST_KEY + 1),
    "kék": (700, 702, 705),
    "Kék": (700, 702, 705),
    "KÉK": (702, 705),
    "IDŐ": (703,),
    "idő": (695, 700, 702, 703),
    "_": range(FIRST_KEY, LAST_KEY + 1),
    "%": range(FIRST_KEY, LAST_KEY + 1),
    "'": (),
    "xyz": (),
    " ": range(FIRST_KEY, LAST_KEY + 1),
}

STANZA_NUMBER = re.compile(r"^\s*\d+\.\s*$")
WELL_FORMED_NUMBER = re.compile(r"^( {14,22}|\t)\d+\. ?$")


def run(path, create_table):
    problems = []

    def expect(ok, what):
        if not ok:
            problems.append("not true: " + what)

    data = path.read_bytes()
    expect(len(data) == PAGE_COUNT * 4096, f"file is {PAGE_COUNT} pages long ({len(data)} bytes)")
    for offset, (size, value) in HEADER.items():
        found = int.from_bytes(data[offset:offset + size], "big")
        expect(found == value, f"header at {offset} holds {value} (found {found})")

    con = sqlite3.connect(f"file:{path}?mode=ro", uri=True)
    schema = con.execute("SELECT type, name, sql FROM sqlite_master ORDER BY name").fetchall()
    expect(schema == [("table", "sqlite_sequence", "CREATE TABLE sqlite_sequence(name,seq)"),
                      ("table", "tbl_Data", create_table)], f"schema is exactly two tables: {schema}")
    expect(con.execute("SELECT name, seq FROM sqlite_sequence").fetchall() == [("tbl_Data", LAST_KEY)],
           "sqlite_sequence holds tbl_Data, 705")
    rows = con.execute("SELECT rowid, AZ, CIM, VERS, DATUM, FOTO FROM tbl_Data").fetchall()
    expect([r[0] for r in rows] == [r[1] for r in rows] == list(range(FIRST_KEY, LAST_KEY + 1)),
           "keys 693..705 in storage order, equal to the rowid")
    expect(all(r[4] is None and r[5] is None for r in rows), "DATUM and FOTO are NULL")

    titles = {r[1]: r[2] for r in rows}
    texts = {r[1]: r[3] for r in rows}
    check_titles(titles, expect)
    check_texts(titles, texts, expect)

    for term, keys in SEARCHES.items():
        pattern = "'%" + term.replace("'", "''") + "%'"
        found = [k for (k,) in con.execute(
            f"SELECT AZ FROM tbl_Data WHERE CIM LIKE {pattern} OR DATUM LIKE {pattern} "
            f"OR VERS LIKE {pattern}")]
        expect(found == list(keys), f"search {term!r} finds {list(keys)} (found {found})")
    con.close()
    return problems


def check_titles(titles, expect):
    t = list(titles.values())
    expect(min(map(len, t)) == 8 and max(map(len, t)) == 22, "titles have 8 to 22 characters")
    expect(sum(x != x.upper() for x in t) == 1, "all titles but one are in capitals")
    expect(sum("[" in x and "]" in x for x in t) == 3, "three titles hold square brackets")
    expect(sum(x.endswith("...") for x in t) == 4, "four titles end in three full stops")
    expect(sum("Ő" in x for x in t) == 1, "one title holds a capital Ő")
    expect(titles[702] == titles[705] and len(set(t)) == len(t) - 1,
           "702 and 705 share the only repeated title")


def check_texts(titles, texts, expect):
    every = "".join(titles.values()) + "".join(texts.values())
    expect({c for c in every if not c.isascii()} == ALLOWED_BEYOND_ASCII,
           "exactly the Hungarian letters and typographic quotes beyond ASCII")
    expect(not FORBIDDEN & set(every), "no % _ ' \" \\ or carriage return")
    expect(all(c >= " " or c in "\n\t" for c in every), "no control characters but LF and tab")

    lines = {k: v.split("\n") for k, v in texts.items()}
    for p in POEMS:
        text, own = texts[p.key], lines[p.key]
        expect(len(text) == p.chars, f"{p.key} has {p.chars} characters (has {len(text)})")
        if p.lines:
            expect(len(own) == p.lines, f"{p.key} has {p.lines} lines (has {len(own)})")
        if p.utf8_bytes:
            size = len(text.encode())
            expect(size == p.utf8_bytes, f"{p.key} has {p.utf8_bytes} UTF-8 bytes (has {size})")
        expect(own[-1] != "" and own[1] == "", f"{p.key}: line 2 empty, no LF after the last line")

    sizes = {k: len(v) for k, v in texts.items()}
    others = [n for k, n in sizes.items() if k != 700]
    expect(sum(sizes.values()) == 282_888 and sizes[700] == 230_633 and min(others) == 164
           and max(others) == 14_115, "text sizes: 700 far larger, the rest 164 to 14,115")

    counts = [len(x) for x in lines.values()]
    expect(min(counts) == 8 and max(counts) == 6419, "texts have 8 to 6,419 lines")

    first_lines = {k: v[0] for k, v in lines.items()}
    own_heading = [k for k in titles if k < 702]
    expect(sum(first_lines[k] == titles[k] for k in own_heading) == 8
           and sum(first_lines[k].startswith(titles[k] + " ") for k in own_heading) == 1,
           "eight poems open with their title, one with the title and more")
    notebook = [k for k in titles if k >= 702]
    expect(len({first_lines[k] for k in notebook}) == 1
           and all(titles[k] in lines[k][2:] and first_lines[k] != titles[k] for k in notebook),
           "the last four share line 1 and name their title further down")

    numbers = {k: [x for x in v if STANZA_NUMBER.match(x)] for k, v in lines.items()}
    all_numbers = [x for v in numbers.values() for x in v]
    expect(all(numbers.values()), "every poem has numbered stanzas")
    expect(all(WELL_FORMED_NUMBER.match(x) for x in all_numbers),
           "stanza numbers indented by 14 to 22 spaces or a tab")
    expect(sum(any(x.startswith("\t") for x in v) for v in numbers.values()) == 2,
           "two poems indent their stanza numbers with a tab")
    expect(sum(x.endswith(" ") for x in all_numbers) > len(all_numbers) / 2,
           "most stanza numbers are followed by a space")

    every_line = [x for v in lines.values() for x in v]
    widths = sorted(map(len, every_line))
    expect(statistics.median_low(widths) == statistics.median_high(widths) == MEDIAN_LINE,
           f"median line length {MEDIAN_LINE}")
    expect(sum(w > LONG_LINE for w in widths) == 3 and widths[-1] == 1913,
           "three lines over 100 characters, the longest 1,913")
    expect(sum(x.endswith(" ") for x in every_line) > len(every_line) / 5,
           "many lines end in spaces")
