"""From a poem's plan to its text.

Composing happens in two steps so that every figure can be made exact:
first a layout (fixed lines such as headings and stanza numbers, and verse
slots that only know their width), then the words poured into the slots.
Widths are settled while they are still plain numbers: the poem's character
count and the corpus-wide median line length are sums and ranks of widths.
"""

from dataclasses import dataclass

import words
from plan import NOTEBOOK_HEADING, NOTEBOOK_NOTE, MEDIAN_LINE
from verse import BY_KIND_AND_LENGTH, EXCHANGEABLE, LineMaker, Verse, capitalizable, starts_with_vowel

STANZA_SIZES = (4, 4, 4, 4, 4, 3, 5, 6, 6, 8, 2)
NARROWEST, WIDEST = 16, 78      # verse widths stay well under the long-line mark
GUESSED_WIDTH = 42              # used only to decide how many stanzas a poem gets
KEYWORD_WIDTH = 26              # a line must have room for a keyword and more


@dataclass
class Slot:
    width: int
    prose: bool = False
    keyword: str | None = None


def header(poem):
    if poem.notebook:
        return [NOTEBOOK_HEADING, "", NOTEBOOK_NOTE, "", poem.title, ""]
    first = f"{poem.title} {poem.heading_tail}" if poem.heading_tail else poem.title
    return [first, ""]


def number_line(poem, n, rng):
    if poem.indent == "\t":
        indent = "\t"
    elif isinstance(poem.indent, tuple):
        indent = " " * rng.randint(*poem.indent)
    else:
        indent = " " * poem.indent
    return f"{indent}{n}." + ("" if rng.random() < poem.numbers_bare else " ")


def sizes_for_line_count(poem, head, rng):
    body = poem.lines - len(head) - 2 * len(poem.prose)
    sizes, used = [], 0
    while True:
        gap = 1 if sizes else 0
        left = body - used - gap - 1
        s = rng.choice(STANZA_SIZES)
        if left - s < 4:          # too little would remain for one more stanza
            sizes.append(left)
            return sizes
        sizes.append(s)
        used += gap + 1 + s


def sizes_for_char_count(poem, head, rng):
    fixed = sum(map(len, head)) + len(head) + sum(p + 2 for p in poem.prose)
    sizes, estimate = [], fixed
    while True:
        s = rng.choice(STANZA_SIZES)
        more = 1 + 21 + s * (GUESSED_WIDTH + 1)   # empty line, number line, verses
        if sizes and estimate + more > poem.chars:
            return sizes
        sizes.append(s)
        estimate += more


def layout(poem, rng):
    head = header(poem)
    if poem.stanzas:
        sizes = list(poem.stanzas)
    elif poem.lines:
        sizes = sizes_for_line_count(poem, head, rng)
    else:
        sizes = sizes_for_char_count(poem, head, rng)
    lines = list(head)
    prose_after = max(1, len(sizes) * 2 // 3)
    for n, size in enumerate(sizes, 1):
        if n > 1:
            lines.append("")
        lines.append(number_line(poem, n, rng))
        lines += [Slot(0) for _ in range(size)]
        if n == prose_after:
            for width in poem.prose:
                lines += ["", Slot(width, prose=True)]
    set_verse_widths(poem, lines, rng)
    place_keywords(poem, lines, rng)
    return lines


def is_verse(x):
    return isinstance(x, Slot) and not x.prose


def verse_slots(lines):
    return [x for x in lines if is_verse(x)]


def width_of(x):
    return x.width if isinstance(x, Slot) else len(x)


def set_verse_widths(poem, lines, rng):
    slots = verse_slots(lines)
    budget = poem.chars - (len(lines) - 1) - sum(width_of(x) for x in lines if not is_verse(x))
    mean = budget / len(slots)
    for s in slots:
        s.width = min(WIDEST, max(NARROWEST, round(rng.gauss(mean, 9))))
    spread(slots, budget - sum(s.width for s in slots), rng)


def side(width):
    return (width > MEDIAN_LINE) - (width < MEDIAN_LINE)


def spread(slots, amount, rng):
    """Adds (or takes) amount characters one at a time over random slots,
    never moving a slot across the median width."""
    step = 1 if amount > 0 else -1
    while amount:
        s = rng.choice(slots)
        new = s.width + step
        if NARROWEST <= new <= WIDEST and side(new) == side(s.width) != 0:
            s.width = new
            amount -= step


def balance_median(all_lines, adjustable, rng):
    """Makes MEDIAN_LINE both middle values of the corpus' line lengths by
    moving verse slots of one poem onto that width, paying for each move
    within the same poem so its character count stays put."""
    widths = [width_of(x) for lines in all_lines for x in lines]
    n = len(widths)
    below = sum(w < MEDIAN_LINE for w in widths)
    above = sum(w > MEDIAN_LINE for w in widths)
    most_below, most_above = (n - 1) // 2, n - n // 2 - 1
    slots = verse_slots(adjustable)
    while below > most_below or above > most_above:
        want = -1 if below > most_below else 1
        movable = [s for s in slots if side(s.width) == want]
        s = min(movable, key=lambda s: abs(s.width - MEDIAN_LINE))
        cost = MEDIAN_LINE - s.width
        s.width = MEDIAN_LINE
        spread([x for x in slots if side(x.width) == want], -cost, rng)
        below, above = below - (want < 0), above - (want > 0)


def place_keywords(poem, lines, rng):
    roomy = [s for s in verse_slots(lines) if s.width >= KEYWORD_WIDTH]
    for group, count in sorted(poem.keywords.items()):
        forms = words.KEYWORDS[group]
        for i, s in enumerate(rng.sample([s for s in roomy if not s.keyword], count)):
            s.keyword = forms[i % len(forms)]


def realize(lines, rng):
    """Turns every slot into a Verse of exactly its width."""
    maker = LineMaker(rng)
    out = []
    for x in lines:
        if not isinstance(x, Slot):
            out.append(x)
        elif x.prose:
            out.append(Verse(maker.fill(x.width, prose=True)))
        else:
            v = Verse(trailing=rng.choices((0, 1, 2), weights=(65, 30, 5))[0])
            v.quoted = x.width >= 24 and rng.random() < 0.03
            v.tokens = maker.fill(x.width - v.trailing - 2 * v.quoted, forced=x.keyword)
            out.append(v)
    return out


def text_of(lines):
    return "\n".join(x if isinstance(x, str) else x.text() for x in lines)


def exchanges(token):
    """Words of the token's kind and length that can stand in for it, each
    with the number of UTF-8 bytes it would add."""
    size = len(token.word.encode())
    return [(w, len(w.encode()) - size) for w in BY_KIND_AND_LENGTH[token.kind][len(token.word)]
            if starts_with_vowel(w) == starts_with_vowel(token.word)   # keeps "a"/"az" right
            and (not token.cap or capitalizable(w))]


def tune_bytes(lines, target, rng):
    """Reaches an exact UTF-8 size by exchanging words for others of equal
    length with more or fewer accented letters; no character moves."""
    tokens = [t for x in lines if isinstance(x, Verse) for t in x.tokens if t.kind in EXCHANGEABLE]
    missing = target - len(text_of(lines).encode())
    rng.shuffle(tokens)
    while missing:
        before = missing
        for t in tokens:
            fitting = [(w, d) for w, d in exchanges(t)
                       if d and (d > 0) == (missing > 0) and abs(d) <= abs(missing)]
            if fitting:
                t.word, added = rng.choice(fitting)
                missing -= added
            if not missing:
                return
        if missing == before:
            raise ValueError(f"UTF-8 size off by {missing} bytes")
