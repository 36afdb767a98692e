"""The packed lexicon file: each language's words with a rank band, as a
minimal acyclic automaton. The layout is described in the engine's reader,
engine/config/packed_lexicon.h; this module writes it and reads it back.
"""

import hashlib
import math
import struct

MAGIC = b"QMLEX01\n"
MAX_SYMBOLS = 63
LABEL_BITS, LAST_BIT, VALUE_SHIFT = 0x3F, 0x40, 7
MAX_VALUE = (1 << 25) - 1
CHECKSUM_AT = 20  # u32, the id's hash starts after it: a new checksum keeps the id


def rank_band(rank):
    """Band of a 1-based frequency rank; 0 stands for "no frequency estimate"."""
    if rank is None:
        return 0
    band = 1 + math.floor(4 * math.log2(rank) + 1e-9)
    return min(band, MAX_VALUE)


class _Node:
    __slots__ = ("edges", "band", "number")

    def __init__(self):
        self.edges = {}      # code -> _Node
        self.band = None     # the band when a word ends here
        self.number = None   # registered nodes: the order of registration


def _signature(node):
    return (node.band, tuple((code, child.number) for code, child in sorted(node.edges.items())))


def _automaton(encoded):
    """Minimal automaton of (code string, band) pairs sorted by code string
    (incremental construction for sorted input)."""
    root = _Node()
    register = {}
    path, previous = [root], ""

    def minimise(down_to):
        while len(path) > down_to + 1:
            child = path.pop()
            sig = _signature(child)
            twin = register.get(sig)
            parent, label = path[-1], previous[len(path) - 1]
            if twin is None:
                child.number = len(register)
                register[sig] = child
            else:
                parent.edges[label] = twin

    for word, band in encoded:
        common = 0
        limit = min(len(word), len(previous))
        while common < limit and word[common] == previous[common]:
            common += 1
        minimise(common)
        previous = word
        for code in word[common:]:
            node = _Node()
            path[-1].edges[code] = node
            path.append(node)
        path[-1].band = band
    minimise(0)
    return root


def _layout(root):
    """Nodes in breadth-first order from the root, and the first edge index of each."""
    order, seen = [root], {id(root)}
    for node in order:
        for code in sorted(node.edges):
            child = node.edges[code]
            if id(child) not in seen:
                seen.add(id(child))
                order.append(child)
    first, position = {}, 0
    for node in order:
        first[id(node)] = position
        position += len(node.edges) + (node.band is not None)
    return order, first


def _section(words):
    symbols = sorted({c for w in words for c in w})
    if len(symbols) > MAX_SYMBOLS:
        raise ValueError(f"{len(symbols)} symbols; the packed lexicon holds at most {MAX_SYMBOLS}")
    code = {c: chr(i + 1) for i, c in enumerate(symbols)}
    encoded = sorted(("".join(code[c] for c in w), band) for w, band in words.items())
    order, first = _layout(_automaton(encoded))
    edges = []
    for node in order:
        run = []
        if node.band is not None:
            run.append(node.band << VALUE_SHIFT)
        for c in sorted(node.edges):
            target = first[id(node.edges[c])]
            if target > MAX_VALUE:
                raise ValueError("automaton too large for 25-bit edge targets")
            run.append(ord(c) | target << VALUE_SHIFT)
        if not run:
            continue  # only the root of an empty lexicon
        run[-1] |= LAST_BIT
        edges += run
    head = struct.pack("<4I", len(symbols), len(edges), len(words), 0)
    table = b"".join(c.encode("utf-8").ljust(4, b"\0") for c in symbols)
    return head + table + struct.pack(f"<{len(edges)}I", *edges)


def pack(lexicons):
    """File bytes for {language key: {word: band}}; the same input gives the same bytes."""
    keys = sorted(lexicons)
    sections = [_section(lexicons[k]) for k in keys]
    offset = 24 + 16 * len(keys)
    table, body = b"", b""
    for key, section in zip(keys, sections):
        table += key.encode("ascii").ljust(8, b"\0") + struct.pack("<2I", offset + len(body), len(section))
        body += section
    rest = struct.pack("<2I", len(keys), 0) + table + body
    file_id = struct.unpack("<Q", hashlib.sha1(rest[8:]).digest()[:8])[0]
    data = MAGIC + struct.pack("<Q", file_id) + rest
    return data[:CHECKSUM_AT] + struct.pack("<I", checksum(data)) + data[CHECKSUM_AT + 4:]


def checksum(data):
    """The engine's checksum of a packed file (PackedLexiconFile::checksum in engine/config/packed_lexicon.cpp):
    its bytes with the checksum field read as zero, eight at a time."""
    mask = (1 << 64) - 1
    body = data[:CHECKSUM_AT] + bytes(4) + data[CHECKSUM_AT + 4:]
    body += bytes(-len(body) % 8)
    h = 0x9E3779B97F4A7C15 ^ len(data)
    for (word,) in struct.iter_unpack("<Q", body):
        h = ((h ^ word) * 0xFF51AFD7ED558CCD) & mask
        h ^= h >> 32
    h ^= h >> 29
    h = (h * 0xC4CEB9FE1A85EC53) & mask
    h ^= h >> 32
    return h & 0xFFFFFFFF


def file_id(data):
    """The id the rules file names: 16 lower-case hex digits."""
    return f"{struct.unpack_from('<Q', data, 8)[0]:016x}"


class Reader:
    """Reads a packed file back (tests and checks)."""

    def __init__(self, data):
        assert data[:8] == MAGIC
        count = struct.unpack_from("<I", data, 16)[0]
        self.languages = {}
        for i in range(count):
            key, offset, size = struct.unpack_from("<8s2I", data, 24 + 16 * i)
            symbols, edges, words, _ = struct.unpack_from("<4I", data, offset)
            table = [data[offset + 16 + 4 * s: offset + 20 + 4 * s].rstrip(b"\0").decode("utf-8")
                     for s in range(symbols)]
            start = offset + 16 + 4 * symbols
            self.languages[key.rstrip(b"\0").decode("ascii")] = (
                {c: i + 1 for i, c in enumerate(table)}, struct.unpack_from(f"<{edges}I", data, start), words)

    def band(self, lang, word):
        """The word's band, or None when absent."""
        codes, edges, _ = self.languages[lang]
        if not edges:
            return None
        node = 0
        for ch in word:
            code = codes.get(ch)
            if code is None:
                return None
            e = node
            while True:
                label = edges[e] & LABEL_BITS
                if label == code:
                    node = edges[e] >> VALUE_SHIFT
                    break
                if label > code or edges[e] & LAST_BIT:
                    return None
                e += 1
        return edges[node] >> VALUE_SHIFT if edges[node] & LABEL_BITS == 0 else None

    def words(self, lang):
        """Every (word, band), in code order."""
        codes, edges, _ = self.languages[lang]
        symbol = {v: k for k, v in codes.items()}
        out, stack = [], [(0, "")] if edges else []
        while stack:
            node, prefix = stack.pop()
            e = node
            while True:
                label, value = edges[e] & LABEL_BITS, edges[e] >> VALUE_SHIFT
                if label == 0:
                    out.append((prefix, value))
                else:
                    stack.append((value, prefix + symbol[label]))
                if edges[e] & LAST_BIT:
                    break
                e += 1
        return sorted(out)
