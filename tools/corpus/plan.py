"""What each of the thirteen poems must look like.

The figures are the contract the reader program and its tests rely on:
exact character counts (and, for the long poem, its UTF-8 size and line
count), the titles, which records carry the searchable words, and the few
over-long prose lines. Everything else is left to the seeded generator.
"""

from dataclasses import dataclass, field

SEED = 1848
FIRST_KEY = 693

# The last four poems come from one notebook: they share their first line
# and name themselves a few lines further down.
NOTEBOOK_HEADING = "HÁTRAHAGYOTT VERSEK"
NOTEBOOK_NOTE = "(a füzet utolsó lapjairól)"

TITLE_OF_BLUE_BIRD = "A KÉK MADÁR"


@dataclass(frozen=True)
class Poem:
    key: int
    title: str
    chars: int
    indent: object = 18            # spaces before a stanza number, a range, or "\t"
    lines: int | None = None       # exact line count where it is fixed
    utf8_bytes: int | None = None  # exact encoded size where it is fixed
    stanzas: tuple = ()            # explicit stanza sizes for very short poems
    heading_tail: str = ""         # words that follow the title on line 1
    notebook: bool = False         # one of the four notebook poems
    keywords: dict = field(default_factory=dict)  # keyword group -> occurrences
    prose: tuple = ()              # lengths of over-long prose lines
    numbers_bare: float = 0.1      # share of stanza numbers without a trailing space


POEMS = (
    Poem(693, "ÉJFÉLKOR", 2840, indent=18),
    Poem(694, "A MALOMKERT ALATT...", 4210, indent=14),
    Poem(695, "[TÖREDÉK]", 164, indent=20, lines=8, stanzas=(5,), keywords={"idő": 1}),
    Poem(696, "[SZÉLCSEND]", 1975, indent=16),
    Poem(697, "ÜZENET A PARTRÓL...", 3366, indent="\t"),
    Poem(698, "Levél a tengerhez", 14115, indent=22, prose=(156,)),
    Poem(699, "[ELSZÓRT SOROK]", 1204, indent=15, numbers_bare=1.0),
    Poem(700, "A VÁNDOR KÖNYVE", 230633, indent=(16, 20), lines=6419, utf8_bytes=248984,
         heading_tail="hat énekben", keywords={"kék": 14, "idő": 23}, prose=(1913,)),
    Poem(701, "MÁRCIUSI ZSOLTÁR...", 5630, indent="\t", prose=(118,)),
    Poem(702, TITLE_OF_BLUE_BIRD, 4480, indent=17, notebook=True,
         keywords={"kék": 2, "idő": 2}),
    Poem(703, "AZ IDŐ KERTJE", 6012, indent=19, notebook=True, keywords={"idő": 3}),
    Poem(704, "CSILLAGTALAN ÉJEKEN...", 3110, indent=21, notebook=True),
    Poem(705, TITLE_OF_BLUE_BIRD, 5149, indent=17, notebook=True, keywords={"kék": 3}),
)

# Whole-corpus figures that no single poem decides.
PAGE_COUNT = 81
MEDIAN_LINE = 37
LONG_LINE = 100
