#!/usr/bin/python3
# -*- coding: utf-8 -*-
"""Regenerates everything under assets/:

    assets/templates/DOC1.xls ... DOC74.xls, DOC80.xls ... DOC86.xls
    assets/templates/DOC75.doc ... DOC79.doc
    assets/cover.jpg, assets/korventa.ico

Run from anywhere:  /usr/bin/python3 tools/make_assets.py [--no-install]

Missing Debian packages are installed with apt-get unless --no-install is
given.  Afterwards every template is checked for the compound-file facts
the build relies on, and the order (DOC78) for fitting on one page.
"""

import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
ASSETS = os.path.join(ROOT, "assets")
TEMPLATES = os.path.join(ASSETS, "templates")

# Debian package: what must be importable or runnable for it.
PACKAGES = [
    ("python3-xlwt", "module", "xlwt"),
    ("python3-xlrd", "module", "xlrd"),
    ("python3-olefile", "module", "olefile"),
    ("python3-pil", "module", "PIL.ImageFont"),
    ("fonts-dejavu-core", "file",
     "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
    ("libreoffice-writer-nogui", "program", "soffice"),
]


def _present(kind, what):
    if kind == "module":
        try:
            __import__(what)
            return True
        except ImportError:
            return False
    if kind == "file":
        return os.path.exists(what)
    return shutil.which(what) is not None


def ensure_packages(install):
    missing = [pkg for pkg, kind, what in PACKAGES if not _present(kind, what)]
    if not missing:
        return
    if not install:
        sys.exit("missing packages: %s (apt-get install -y "
                 "--no-install-recommends %s)" % (", ".join(missing),
                                                  " ".join(missing)))
    print("installing:", " ".join(missing))
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(["apt-get", "install", "-y", "--no-install-recommends"]
                   + missing, check=True, env=env)


def check_template(path):
    """The facts the build checks, verified right after writing."""
    import olefile
    with open(path, "rb") as f:
        data = f.read()
    problems = []
    if data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
        problems.append("signature")
    if data[26:28] != b"\x03\x00" or data[30:32] != b"\x09\x00":
        problems.append("not version 3 with 512-byte sectors")
    if len(data) % 512:
        problems.append("length %d is not a multiple of 512" % len(data))
    ole = olefile.OleFileIO(path)
    want = ["Workbook"] if path.endswith(".xls") else ["WordDocument",
                                                       "1Table"]
    for stream in want:
        if not ole.exists(stream):
            problems.append("no stream %s" % stream)
    ole.close()
    return problems


def main():
    ensure_packages("--no-install" not in sys.argv[1:])
    sys.path.insert(0, HERE)
    import make_documents
    import make_pictures
    import make_workbooks

    os.makedirs(TEMPLATES, exist_ok=True)
    for name in os.listdir(TEMPLATES):      # exactly the 86 templates remain
        if name.startswith("DOC"):
            os.remove(os.path.join(TEMPLATES, name))
    written = make_workbooks.write_all(TEMPLATES)
    pages = make_documents.write_all(TEMPLATES)
    written += list(pages)
    make_pictures.write_cover(os.path.join(ASSETS, "cover.jpg"))
    make_pictures.write_icon(os.path.join(ASSETS, "korventa.ico"))

    failed = False
    for path in sorted(written):
        for problem in check_template(path):
            print("%s: %s" % (os.path.basename(path), problem))
            failed = True
    if len(written) != 86:
        print("expected 86 templates, wrote %d" % len(written))
        failed = True
    order_pages = pages[os.path.join(TEMPLATES, "DOC78.doc")]
    if order_pages != 1:
        print("DOC78.doc: the order takes %d pages, not one" % order_pages)
        failed = True
    print("%d templates, cover.jpg and korventa.ico written to %s"
          % (len(written), ASSETS))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
