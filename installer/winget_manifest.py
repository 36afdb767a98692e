#!/usr/bin/env python3
"""Writes the package manager's manifest set for one release of Quillom.

    installer/winget_manifest.py --installer build/windows/dist/Quillom-1.1.32-setup.exe \
        --out build/windows/dist/winget [--cmake CMakeLists.txt] [--url-base URL]

The version comes from the project() line of the top CMakeLists.txt, the hash from the
setup program itself. Three files go to <out>/<version>/: the version manifest, the installer
manifest and the default-locale manifest, in the 1.6.0 multi-file format. --check verifies an
existing set against the installer instead of writing one (exit status 1 with the reasons).
"""

import argparse
import hashlib
import pathlib
import re
import sys

MANIFEST_VERSION = "1.6.0"
PACKAGE_ID = "Brevant.Quillom"
DEFAULT_LOCALE = "en-US"
DEFAULT_URL_BASE = "https://updates.quillom.example/downloads"

# What the 1.6.0 schema requires of each file, and of each entry of Installers.
REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                      "ShortDescription", "ManifestType", "ManifestVersion"],
}
REQUIRED_PER_INSTALLER = ["Architecture", "InstallerUrl", "InstallerSha256"]

# NSIS setup programs take /S for a silent install; with it, ours shows no page at all.
SILENT_SWITCH = "/S"


def project_version(cmake_lists):
    match = re.search(r"project\(\s*Quillom\s+VERSION\s+([0-9][0-9.]*)", cmake_lists.read_text(encoding="utf-8"))
    if not match:
        raise SystemExit(f"{cmake_lists}: no project(Quillom VERSION ...) line")
    return match.group(1)


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def file_names():
    return {
        "version": f"{PACKAGE_ID}.yaml",
        "installer": f"{PACKAGE_ID}.installer.yaml",
        "defaultLocale": f"{PACKAGE_ID}.locale.{DEFAULT_LOCALE}.yaml",
    }


def quoted(value):
    return "'" + str(value).replace("'", "''") + "'"


def manifests(version, installer_url, sha256):
    head = [f"PackageIdentifier: {PACKAGE_ID}", f"PackageVersion: {quoted(version)}"]
    tail = [f"ManifestVersion: {MANIFEST_VERSION}", ""]
    return {
        "version": head + [f"DefaultLocale: {DEFAULT_LOCALE}", "ManifestType: version"] + tail,
        "installer": head + [
            "InstallerType: nullsoft",
            "Scope: user",
            "InstallModes:",
            "- interactive",
            "- silent",
            "- silentWithProgress",
            "InstallerSwitches:",
            f"  Silent: {SILENT_SWITCH}",
            f"  SilentWithProgress: {SILENT_SWITCH}",
            "UpgradeBehavior: install",
            "Installers:",
            "- Architecture: x64",
            f"  InstallerUrl: {installer_url}",
            f"  InstallerSha256: {sha256}",
            "ManifestType: installer",
        ] + tail,
        "defaultLocale": head + [
            f"PackageLocale: {DEFAULT_LOCALE}",
            "Publisher: Brevant",
            "PackageName: Quillom",
            "License: Proprietary",
            "ShortDescription: Fixes words typed in the wrong keyboard layout (English, Ukrainian, Russian).",
            "Tags:",
            "- keyboard",
            "- keyboard-layout",
            "- typing",
            "ManifestType: defaultLocale",
        ] + tail,
    }


def write_set(out, version, url_base, installer):
    folder = out / version
    folder.mkdir(parents=True, exist_ok=True)
    url = f"{url_base.rstrip('/')}/{installer.name}"
    texts = manifests(version, url, sha256_of(installer))
    for kind, name in file_names().items():
        (folder / name).write_text("\n".join(texts[kind]), encoding="utf-8")
    return folder


def check_set(folder, version, installer, load_yaml):
    """The reasons the set in folder is not the one for this installer and version."""
    problems = []
    expected_types = {"version": "version", "installer": "installer", "defaultLocale": "defaultLocale"}
    for kind, name in file_names().items():
        path = folder / name
        if not path.is_file():
            problems.append(f"{name}: missing")
            continue
        doc = load_yaml(path.read_text(encoding="utf-8"))
        if not isinstance(doc, dict):
            problems.append(f"{name}: not a mapping")
            continue
        problems += [f"{name}: no {field}" for field in REQUIRED[kind] if doc.get(field) in (None, "", [])]
        if doc.get("ManifestType") != expected_types[kind]:
            problems.append(f"{name}: ManifestType {doc.get('ManifestType')!r}")
        if str(doc.get("ManifestVersion")) != MANIFEST_VERSION:
            problems.append(f"{name}: ManifestVersion {doc.get('ManifestVersion')!r}")
        if doc.get("PackageIdentifier") != PACKAGE_ID or str(doc.get("PackageVersion")) != version:
            problems.append(f"{name}: names {doc.get('PackageIdentifier')} {doc.get('PackageVersion')}")
        if kind == "installer":
            problems += check_installers(name, doc, installer)
    return problems


def check_installers(name, doc, installer):
    problems = []
    switches = doc.get("InstallerSwitches") or {}
    if switches.get("Silent") != SILENT_SWITCH or switches.get("SilentWithProgress") != SILENT_SWITCH:
        problems.append(f"{name}: silent switches {switches!r}")
    entries = doc.get("Installers") or []
    actual = sha256_of(installer)
    for entry in entries:
        problems += [f"{name}: an installer lacks {field}" for field in REQUIRED_PER_INSTALLER if not entry.get(field)]
        if str(entry.get("InstallerSha256", "")).upper() != actual:
            problems.append(f"{name}: InstallerSha256 is not the hash of {installer.name} ({actual})")
        if not str(entry.get("InstallerUrl", "")).endswith("/" + installer.name):
            problems.append(f"{name}: InstallerUrl does not name {installer.name}")
    return problems


def main(argv):
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--installer", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    parser.add_argument("--cmake", type=pathlib.Path, default=root / "CMakeLists.txt")
    parser.add_argument("--url-base", default=DEFAULT_URL_BASE)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args(argv)
    version = project_version(args.cmake)
    if not args.check:
        print(write_set(args.out, version, args.url_base, args.installer))
        return 0
    import yaml  # Debian python3-yaml; only the check reads YAML

    problems = check_set(args.out / version, version, args.installer, yaml.safe_load)
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
