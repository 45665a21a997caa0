"""Lines of verse of an exact length, built from the word stock.

A line is kept as tokens rather than text so that later passes can still
exchange a word for another of the same length (to reach an exact UTF-8 size)
without moving a single character of the layout.
"""

from dataclasses import dataclass, field

import words

# Word kinds as the phrase patterns name them.
KINDS = {
    "n": words.NOUNS, "v": words.VERBS, "a": words.ADJECTIVES, "d": words.ADVERBS,
    "p": words.POSTPOSITIONS, "c": words.CONJUNCTIONS, "r": words.PRONOUNS,
    "i": words.INTERJECTIONS,
}
# Nouns, verbs and adjectives may later be exchanged for another of their kind.
EXCHANGEABLE = ("n", "v", "a")
# A line may end on any kind but a conjunction.
CLOSING = ("n", "v", "a", "d", "p", "r", "i")
# n noun, v verb, a adjective, d adverb, p postposition, c conjunction,
# r pronoun, i interjection, x article (a or az, by the next word), & archaic "and"
PHRASES = ("an", "xan", "xnv", "anv", "dv", "vxn", "xnp", "cxnv", "cdv", "rv", "vd",
           "n", "v", "a", "xn", "ian", "rdv", "xanp")
SEARCH_WORDS = ("kék", "idő", "xyz")


def stays_out_of_searches(word):
    # LIKE folds only ASCII case, so a plain lower() of the ASCII letters is
    # exactly the comparison the reader's search makes.
    folded = "".join(c.lower() if c.isascii() else c for c in word)
    return not any(s in folded for s in SEARCH_WORDS)


def capitalizable(word):
    # There is no capital Í in the data, and Ő only in one title.
    return word[0] not in "íő"


def starts_with_vowel(word):
    return word[0] in words.VOWELS


def capitalize(word):
    return word[0].upper() + word[1:]


for w in (w for pool in KINDS.values() for w in pool):
    assert stays_out_of_searches(w), w


@dataclass
class Token:
    word: str
    kind: str = ""        # empty for words that must keep their spelling
    punct: str = ""
    cap: bool = False

    def text(self):
        return (capitalize(self.word) if self.cap else self.word) + self.punct


@dataclass
class Verse:
    tokens: list = field(default_factory=list)
    trailing: int = 0
    quoted: bool = False

    def text(self):
        body = " ".join(t.text() for t in self.tokens)
        if self.quoted:
            body = "\u201e" + body + "\u201d"
        return body + " " * self.trailing


def by_length(pool):
    table = {}
    for w in sorted(set(pool)):
        table.setdefault(len(w), []).append(w)
    return table


BY_KIND_AND_LENGTH = {kind: by_length(pool) for kind, pool in KINDS.items()}


VERSE_ENDINGS = (("", 45), (",", 25), (".", 12), ("!", 6), ("?", 5), (";", 3), (":", 2), ("...", 2))
PROSE_ENDINGS = ((".", 70), (",", 20), ("!", 5), ("?", 5))


class LineMaker:
    """Fills a given number of characters with words, phrase by phrase."""

    def __init__(self, rng):
        self.rng = rng

    def phrase(self, cap):
        """Tokens of one phrase pattern, its first word fit to be capitalized
        when cap is set."""
        r = self.rng
        shape = r.choice(PHRASES)
        if not cap and r.random() < 0.02:
            shape = "&" + shape
        out = []
        for kind in shape:
            if kind == "x":
                out.append(Token("a"))  # settled below, once the next word is known
            elif kind == "&":
                out.append(Token(words.ARCHAIC_AND))
            else:
                out.append(Token(r.choice(KINDS[kind]), kind))
        for this, following in zip(out, out[1:]):
            if this.word == "a" and starts_with_vowel(following.word):
                this.word = "az"
        out[0].cap = cap
        return out if not cap or capitalizable(out[0].word) else self.phrase(cap)

    def fill(self, width, forced=None, prose=False):
        """Tokens whose text, joined by single spaces, is exactly width long."""
        r = self.rng
        tokens, room, cap = [], width, True
        phrases_before_forced = r.choice((0, 1))
        while True:
            sep = 1 if tokens else 0
            if forced and len(tokens) >= phrases_before_forced and room - sep - len(forced) >= 3:
                tokens.append(Token(forced, cap=cap))
                room -= sep + len(forced)
                forced, cap = None, False
                continue
            if room - sep <= 11 and not forced:
                return self.finish(tokens, room, cap, prose)
            new = self.phrase(cap)
            size = sep + sum(len(t.word) for t in new) + len(new) - 1
            if room - size < 3 + (len(forced) + 2 if forced else 0):
                continue
            tokens += new
            room -= size
            cap = False
            end = r.random()
            if prose and end < 0.18 and room - 1 >= 3:
                new[-1].punct, cap = ".", True
                room -= 1
            elif end < (0.1 if prose else 0.15) and room - 1 >= 3:
                new[-1].punct = ","
                room -= 1

    def finish(self, tokens, room, cap, prose):
        r = self.rng
        sep = 1 if tokens else 0
        endings = list(PROSE_ENDINGS if prose else VERSE_ENDINGS)
        order = []
        while endings:
            choice = r.choices(endings, weights=[w for _, w in endings])[0]
            endings.remove(choice)
            order.append(choice[0])
        for punct in order:
            size = room - sep - len(punct)
            fits = [(kind, w) for kind in CLOSING for w in BY_KIND_AND_LENGTH[kind].get(size, ())
                    if not cap or capitalizable(w)]
            if fits:
                kind, w = r.choice(fits)
                tokens.append(Token(w, kind, punct, cap))
                return tokens
        raise ValueError(f"cannot close a line with {room} characters left")
