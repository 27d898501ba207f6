"""The help files and the tour as the program folder holds them: each is taken apart again with
extract_chmLib, and its pages are checked for the topics the program opens, links that resolve
inside the file, the contents and index, the key-name table against the program's own table,
and a rendering in headless Chromium with no image or style sheet missing.

Usage: help_files_test.py PROGRAM_FOLDER SOURCE_FOLDER"""

import html.parser
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

HELP_TOPICS = ("intro", "menu", "settings", "manage", "editor", "packs", "schemefile", "keynames",
               "schemes", "language", "trouble")
TOUR_TOPICS = ("intro", "tray", "menu", "schemes", "settings", "editor")
# File, its topics, whether it has an index, its page with the key names.
FILES = [
    ("Help.chm", HELP_TOPICS, True, "keynames"),
    ("Help_ru.chm", HELP_TOPICS, True, "keynames"),
    ("Tour.chm", TOUR_TOPICS, False, None),
]
GROUP_WORDS = ("CHARS", "DIGITS", "FUNCS")
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--allow-file-access-from-files"]
# Loaded into one page, every page in a frame of its own: per page, how many images did not load,
# how many style sheets did not load, and how tall its text stands.
RENDER_PAGE = """<!DOCTYPE html><html><body>%s<script>
window.addEventListener("load", function () {
  var results = [];
  for (const frame of document.querySelectorAll("iframe")) {
    var page = frame.contentDocument, images = 0, sheets = 0;
    for (const image of page.images) if (!image.complete || image.naturalWidth == 0) images++;
    // A sheet that failed to load has no rules, or none that may be read.
    for (const link of page.querySelectorAll("link[rel=stylesheet]")) {
      try { if (link.sheet.cssRules.length == 0) sheets++; } catch (error) { sheets++; }
    }
    results.push([frame.getAttribute("src"), images, sheets, page.body.scrollHeight].join(":"));
  }
  document.body.setAttribute("data-results", results.join(" "));
});
</script></body></html>"""

program_folder = None
source_folder = None


class PageLinks(html.parser.HTMLParser):
    """The links, pictures and anchors of one page."""

    def __init__(self):
        super().__init__()
        self.targets = []
        self.anchors = set()
        self.code = []
        self._in_code = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        for name in ("href", "src"):
            if attrs.get(name):
                self.targets.append(attrs[name])
        for name in ("id", "name"):
            if attrs.get(name):
                self.anchors.add(attrs[name])
        self._in_code = tag == "code"

    def handle_endtag(self, tag):
        if tag == "code":
            self._in_code = False

    def handle_data(self, data):
        if self._in_code:
            self.code.append(data.strip())


def parse(path):
    parser = PageLinks()
    with open(path, encoding="utf-8") as f:
        parser.feed(f.read())
    return parser


def sitemap_locals(path, encoding):
    """The topics a contents or index file names."""
    with open(path, encoding=encoding) as f:
        return re.findall(r'<param name="Local" value="([^"]+)">', f.read())


def program_key_names():
    """The key names of the program's own table, read from its source."""
    with open(os.path.join(source_folder, "schemes", "KeyNames.cpp")) as f:
        source = f.read()
    table = source[source.index("kKeyTable"):]
    table = table[:table.index("};")]
    return re.findall(r'\{"([A-Z0-9]+)", \d+\}', table)


def program_mouse_button_words():
    """The mouse button words of the program's own table, read from its source."""
    with open(os.path.join(source_folder, "schemes", "MouseButtonNames.cpp")) as f:
        source = f.read()
    table = source[source.index("kButtons"):]
    table = table[:table.index("};")]
    return re.findall(r'\{"([A-Z0-9]+)", \d+\}', table)


def render(root, pages):
    """Chromium's verdict for each page: {page: (missing images, missing sheets, height)}."""
    frames = "".join('<iframe src="%s"></iframe>' % page for page in pages)
    checker = os.path.join(root, "render-check.htm")
    with open(checker, "w") as f:
        f.write(RENDER_PAGE % frames)
    profile = tempfile.mkdtemp(prefix="chromium-")
    try:
        out = subprocess.run(["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                             "--dump-dom", "file://" + checker], capture_output=True, text=True,
                             timeout=180, check=False).stdout
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    found = re.search(r'data-results="([^"]*)"', out)
    if not found:
        return {}
    results = {}
    for entry in found.group(1).split():
        page, images, sheets, height = entry.rsplit(":", 3)
        results[page] = (int(images), int(sheets), int(height))
    return results


class HelpFilesTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="help-files-")
        cls.extracted = {}
        for name, _, _, _ in FILES:
            folder = os.path.join(cls.work, name)
            path = os.path.join(program_folder, name)
            if os.path.exists(path):
                subprocess.run(["extract_chmLib", path, folder], stdout=subprocess.DEVNULL,
                               check=True, timeout=60)
                cls.extracted[name] = folder

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def pages(self, name):
        folder = os.path.join(self.extracted[name], "html")
        return sorted(p for p in os.listdir(folder) if p.endswith(".htm"))

    def test_files_hold_their_topics(self):
        for name, topics, _, _ in FILES:
            with self.subTest(file=name):
                self.assertIn(name, self.extracted, "%s is not in the program folder" % name)
                pages = self.pages(name)
                for topic in topics:
                    self.assertIn(topic + ".htm", pages)

    def test_links_resolve_and_lead_home(self):
        for name in self.extracted:
            root = self.extracted[name]
            for page in self.pages(name):
                with self.subTest(file=name, page=page):
                    path = os.path.join(root, "html", page)
                    links = parse(path)
                    if page != "intro.htm":
                        self.assertIn("intro.htm", links.targets, "no link back to intro.htm")
                    for target in links.targets:
                        parts = urllib.parse.urlsplit(target)
                        self.assertEqual(parts.scheme, "", "%s leaves the file" % target)
                        resolved = os.path.normpath(os.path.join(os.path.dirname(path),
                                                                 parts.path or page))
                        self.assertTrue(resolved.startswith(root + os.sep), target)
                        self.assertTrue(os.path.isfile(resolved), "%s is not in the file" % target)
                        if parts.fragment:
                            self.assertIn(parts.fragment, parse(resolved).anchors, target)

    def test_contents_and_index_name_existing_topics(self):
        for name, topics, has_index, _ in FILES:
            if name not in self.extracted:
                continue
            root = self.extracted[name]
            encoding = "cp1251" if name.endswith("_ru.chm") else "cp1252"
            for extension in (".hhc", ".hhk") if has_index else (".hhc",):
                with self.subTest(file=name, sitemap=extension):
                    files = [f for f in os.listdir(root) if f.endswith(extension)]
                    self.assertEqual(len(files), 1)
                    listed = sitemap_locals(os.path.join(root, files[0]), encoding)
                    self.assertTrue(listed)
                    for local in listed:
                        self.assertTrue(os.path.isfile(os.path.join(root, local)), local)
                    if extension == ".hhc":
                        self.assertEqual(sorted(set(listed)),
                                         sorted("html/%s.htm" % t for t in topics))

    def test_key_name_table_lists_every_name(self):
        names = program_key_names()
        self.assertEqual(len(names), 112)
        for name, _, _, page in FILES:
            if page is None or name not in self.extracted:
                continue
            with self.subTest(file=name):
                shown = parse(os.path.join(self.extracted[name], "html", page + ".htm")).code
                self.assertEqual(sorted(set(names) - set(shown)), [])
                self.assertEqual(sorted(set(GROUP_WORDS) - set(shown)), [])

    def test_scheme_file_page_lists_every_mouse_button_word(self):
        words = program_mouse_button_words()
        self.assertEqual(len(words), 5)
        for name, _, _, page in FILES:
            if page is None or name not in self.extracted:
                continue
            with self.subTest(file=name):
                shown = parse(os.path.join(self.extracted[name], "html", "schemefile.htm")).code
                self.assertEqual(sorted(set(words) - set(shown)), [])

    def test_pages_render_with_nothing_missing(self):
        for name in self.extracted:
            with self.subTest(file=name):
                pages = ["html/" + page for page in self.pages(name)]
                results = render(self.extracted[name], pages)
                self.assertEqual(sorted(results), sorted(pages), "Chromium rendered no result")
                for page, (images, sheets, height) in results.items():
                    self.assertEqual((page, images, sheets), (page, 0, 0))
                    self.assertGreater(height, 100, page)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program_folder, source_folder = (os.path.abspath(a) for a in sys.argv[1:3])
    sys.argv[1:] = []
    unittest.main(verbosity=2)
