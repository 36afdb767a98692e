"""Tests of the package manager's manifest generator and its check.

    python3 tests/tools/winget_manifest_test.py

Generates a set for a stand-in setup program and version, checks it passes, then breaks it in
the ways a release could (a rebuilt installer, a bumped version, a lost field) and checks each
is caught. tests/e2e/installer.sh runs the same check on the real setup program.
"""

import os
import pathlib
import sys
import tempfile
import unittest

import yaml

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(ROOT / "installer"))

import winget_manifest as wm  # noqa: E402


class ManifestSet(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.dir.name)
        self.cmake = self.root / "CMakeLists.txt"
        self.cmake.write_text("cmake_minimum_required(VERSION 3.25)\nproject(Quillom VERSION 2.3.4 LANGUAGES C CXX)\n")
        self.installer = self.root / "Quillom-2.3.4-setup.exe"
        self.installer.write_bytes(b"MZ stand-in setup program" * 100)
        self.out = self.root / "winget"
        self.assertEqual(wm.main(["--installer", str(self.installer), "--out", str(self.out),
                                  "--cmake", str(self.cmake)]), 0)
        self.folder = self.out / "2.3.4"

    def tearDown(self):
        self.dir.cleanup()

    def problems(self, version="2.3.4"):
        return wm.check_set(self.folder, version, self.installer, yaml.safe_load)

    def edit(self, kind, old, new):
        path = self.folder / wm.file_names()[kind]
        text = path.read_text()
        self.assertIn(old, text)
        path.write_text(text.replace(old, new))

    def test_generated_set_has_every_required_field_and_the_installers_hash(self):
        self.assertEqual(self.problems(), [])
        installer = yaml.safe_load((self.folder / "Brevant.Quillom.installer.yaml").read_text())
        self.assertEqual(installer["Installers"][0]["InstallerSha256"], wm.sha256_of(self.installer))
        self.assertEqual(installer["Installers"][0]["InstallerUrl"],
                         wm.DEFAULT_URL_BASE + "/Quillom-2.3.4-setup.exe")
        self.assertEqual(installer["InstallerSwitches"]["Silent"], "/S")
        locale = yaml.safe_load((self.folder / "Brevant.Quillom.locale.en-US.yaml").read_text())
        self.assertEqual(locale["PackageVersion"], "2.3.4", "a string, not a number")

    def test_each_kind_of_damage_is_reported(self):
        cases = [
            ("installer rebuilt", lambda: self.installer.write_bytes(b"MZ another build")),
            ("version bumped in CMake", None),
            ("License lost", lambda: self.edit("defaultLocale", "License: Proprietary\n", "")),
            ("DefaultLocale lost", lambda: self.edit("version", "DefaultLocale: en-US\n", "")),
            ("older schema", lambda: self.edit("installer", "ManifestVersion: 1.6.0", "ManifestVersion: 1.0.0")),
            ("no silent switch", lambda: self.edit("installer", "  Silent: /S\n", "")),
            ("no architecture", lambda: self.edit("installer", "- Architecture: x64\n  InstallerUrl", "- InstallerUrl")),
            ("a file missing", lambda: (self.folder / "Brevant.Quillom.yaml").unlink()),
        ]
        for name, damage in cases:
            with self.subTest(name):
                self.setUp()
                if damage:
                    damage()
                found = self.problems("2.3.5" if damage is None else "2.3.4")
                self.assertNotEqual(found, [], name)

    def test_version_is_the_one_in_the_projects_cmake_file(self):
        text = (ROOT / "CMakeLists.txt").read_text()
        version = wm.project_version(ROOT / "CMakeLists.txt")
        self.assertIn(f"project(Quillom VERSION {version} ", text)


if __name__ == "__main__":
    unittest.main()
