#!/usr/bin/env python3
"""Opens the compiled help file with a CHM reader (extract_chmLib) and checks what a reader of
the manual relies on: every entry of the contents and the index opens a page that is inside,
every link between pages and every anchor they name resolves, every picture is inside, and
every page inside can be reached from the contents.

    check_chm.py Torvane.chm
"""
import html.parser
import os
import posixpath
import subprocess
import sys
import tempfile


class Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.targets = []  # (attribute, value)
        self.anchors = set()
        self.locals = []   # <param name="Local" value="...">

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for key in ("href", "src"):
            if key in a and a[key]:
                self.targets.append((key, a[key]))
        for key in ("name", "id"):
            if tag in ("a", "h1", "h2", "h3", "div", "span", "p", "table") and a.get(key):
                self.anchors.add(a[key])
        if tag == "param" and (a.get("name") or "").lower() == "local":
            self.locals.append(a.get("value") or "")


def parse(path, encoding):
    with open(path, "rb") as f:
        parser = Links()
        parser.feed(f.read().decode(encoding))
        return parser


def main():
    chm = sys.argv[1]
    problems = []
    with tempfile.TemporaryDirectory() as root:
        out = os.path.join(root, "x")
        subprocess.run(["extract_chmLib", chm, out], check=True, stdout=subprocess.DEVNULL)
        inside = set()
        for folder, _, files in os.walk(out):
            for name in files:
                rel = os.path.relpath(os.path.join(folder, name), out).replace(os.sep, "/")
                if not rel.startswith(("#", "$")):
                    inside.add(rel)
        pages = {p: parse(os.path.join(out, p), "utf-8") for p in inside if p.endswith(".htm")}

        def check(source, base, target):
            if target.startswith(("http:", "https:", "mailto:")):
                return None
            path, _, anchor = target.partition("#")
            path = posixpath.normpath(posixpath.join(posixpath.dirname(base), path)) if path else base
            if path not in inside:
                problems.append(f"{source}: {target} is not in the help file")
            elif anchor and anchor not in pages[path].anchors:
                problems.append(f"{source}: no anchor #{anchor} in {path}")
            return path

        toc = parse(os.path.join(out, "toc.hhc"), "cp932")
        index = parse(os.path.join(out, "index.hhk"), "cp932")
        if not toc.locals:
            problems.append("the contents are empty")
        reached = {check("contents", "", local) for local in toc.locals}
        for local in index.locals:
            check("index", "", local)
        for page, links in sorted(pages.items()):
            if page not in reached:
                problems.append(f"{page} is not in the contents")
            for attribute, target in links.targets:
                path = check(page, page, target)
                if attribute == "src" and path and not path.endswith((".png", ".gif", ".jpg")):
                    problems.append(f"{page}: {target} is not a picture")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
